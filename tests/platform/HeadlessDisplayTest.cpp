#include "platform/HeadlessDisplay.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace dbinst {
namespace {

TEST(HeadlessDisplayTest, WindowsAreTheClientSizeTimesTheScaleAndKeepTheirLastFrame) {
  HeadlessDisplay display(1.25f);
  EXPECT_EQ(display.ScreenSize().x, 1920);
  EXPECT_EQ(display.ScreenSize().y, 1080);
  auto window = display.CreateWindow(559, 426);
  auto* headless = static_cast<HeadlessWindow*>(window.get());
  EXPECT_EQ(headless->Width(), 699);
  EXPECT_EQ(headless->Height(), 533);
  EXPECT_FALSE(window->Shown());
  EXPECT_NE(window->Id(), display.CreateWindow(10, 10)->Id());

  // Two rows of two pixels, each row padded to 12 bytes as Cairo pads its strides.
  const std::vector<uint8_t> pixels = {1, 2, 3, 4, 5, 6, 7, 8, 0xEE, 0xEE, 0xEE, 0xEE,
                                       9, 10, 11, 12, 13, 14, 15, 16, 0xEE, 0xEE, 0xEE, 0xEE};
  window->Present(pixels.data(), 2, 2, 12);
  EXPECT_EQ(headless->FrameWidth(), 2);
  EXPECT_EQ(headless->Frame(), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13,
                                                       14, 15, 16}));
  EXPECT_EQ(headless->Presented(), 1);
}

TEST(HeadlessDisplayTest, InjectedEventsComeOutInTheOrderTheyWentIn) {
  HeadlessDisplay display(1.0f);
  DisplayEvent event;
  EXPECT_FALSE(display.PollEvent(event));
  display.Inject({EDisplayEventKind::MouseDown, 1, 10, 20, EDisplayKey::Enter});
  display.Inject({EDisplayEventKind::Key, 1, 0, 0, EDisplayKey::AltF4});
  ASSERT_TRUE(display.PollEvent(event));
  EXPECT_EQ(event.kind, EDisplayEventKind::MouseDown);
  EXPECT_EQ(event.x, 10);
  ASSERT_TRUE(display.PollEvent(event));
  EXPECT_EQ(event.key, EDisplayKey::AltF4);
  EXPECT_FALSE(display.PollEvent(event));
}

TEST(HeadlessDisplayTest, TheScaleComesFromTheEnvironmentOnlyWhenItIsANumberFromOneToFour) {
  const auto scaleWith = [](const char* value) {
    ::setenv("DBINST_SCALE", value, 1);
    const float scale = ScaleFromEnvironment(1.5f);
    ::unsetenv("DBINST_SCALE");
    return scale;
  };
  EXPECT_EQ(scaleWith("2"), 2.0f);
  EXPECT_EQ(scaleWith("1.25"), 1.25f);
  EXPECT_EQ(scaleWith("0.5"), 1.5f);
  EXPECT_EQ(scaleWith("8"), 1.5f);
  EXPECT_EQ(scaleWith("2x"), 1.5f);
  EXPECT_EQ(scaleWith("nan"), 1.5f);
  EXPECT_EQ(scaleWith(""), 1.5f);
}

}  // namespace
}  // namespace dbinst
