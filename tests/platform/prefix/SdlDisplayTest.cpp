#include "platform/prefix/SdlDisplay.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "tests/ui/HeadlessUi.h"
#include "tests/ui/TestForms.h"

namespace dbinst {
namespace {

// These need an X server; the suite runs them once more under xvfb-run (see tests/CMakeLists.txt).
std::unique_ptr<SdlDisplay> OpenOrSkip() {
  const char* x11 = std::getenv("DISPLAY");
  if (!x11 || !*x11) return nullptr;
  return SdlDisplay::Open();
}

TEST(SdlDisplayTest, AFramelessWindowShowsMovesTakesFramesAndItsCloseRequestsArePassedOn) {
  ::unsetenv("DBINST_SCALE");
  std::unique_ptr<SdlDisplay> display = OpenOrSkip();
  if (!display) GTEST_SKIP() << "no X display (DISPLAY is not set or SDL cannot use it)";
  EXPECT_FALSE(display->Headless());
  EXPECT_GE(display->Scale(), 1.0f);
  EXPECT_GT(display->ScreenSize().x, 0);

  std::unique_ptr<DisplayWindow> window = display->CreateWindow(120, 80);
  ASSERT_TRUE(window);
  EXPECT_FALSE(window->Shown());
  window->SetTitle("Test");
  window->SetPosition({40, 30});
  window->Show();
  EXPECT_TRUE(window->Shown());
  const std::vector<uint8_t> frame(120 * 80 * 4, 0x80);
  window->Present(frame.data(), 120, 80, 120 * 4);
  window->SetDragTest([](float, float y) { return y < 27; });

  const uint64_t before = display->Ticks();
  display->WaitEvent(20);
  EXPECT_GE(display->Ticks(), before);

  // Whatever the server sent first (exposure, focus), an injected event queues behind it.
  DisplayEvent event;
  while (display->PollEvent(event)) {
  }
  display->Inject({EDisplayEventKind::CloseRequest, window->Id(), 0, 0, EDisplayKey::Enter});
  display->Inject({EDisplayEventKind::Key, window->Id(), 0, 0, EDisplayKey::AltF4});
  ASSERT_TRUE(display->PollEvent(event));
  EXPECT_EQ(event.kind, EDisplayEventKind::CloseRequest);
  EXPECT_EQ(event.window, window->Id());
  ASSERT_TRUE(display->PollEvent(event));
  EXPECT_EQ(event.key, EDisplayKey::AltF4);
  window->Hide();
  EXPECT_FALSE(window->Shown());
}

TEST(SdlDisplayTest, WithoutADisplayNamedThereIsNone) {
  const char* x11 = std::getenv("DISPLAY");
  const std::string saved = x11 ? x11 : "";
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const std::string savedWayland = wayland ? wayland : "";
  ::unsetenv("DISPLAY");
  ::unsetenv("WAYLAND_DISPLAY");
  EXPECT_FALSE(SdlDisplay::Open());
  if (x11) ::setenv("DISPLAY", saved.c_str(), 1);
  if (wayland) ::setenv("WAYLAND_DISPLAY", savedWayland.c_str(), 1);
}

TEST(SdlDisplayTest, AFormOnTheDesktopIsDrawnAndTakesAClickThroughTheQueue) {
  ::unsetenv("DBINST_SCALE");
  std::unique_ptr<SdlDisplay> display = OpenOrSkip();
  if (!display) GTEST_SKIP() << "no X display (DISPLAY is not set or SDL cannot use it)";
  test::HeadlessUi ui;
  TvgApplication::Instance().UseDisplay(std::move(display));
  test::TestForm form;
  form.Show();
  TvgApplication::Instance().ProcessMessages();
  std::string error;
  EXPECT_TRUE(ClickNamed(form, "ButtonOk", error)) << error;
  EXPECT_EQ(form.clicks, 1);
  EXPECT_FALSE(ClickNamed(form, "ButtonCovered", error));
  form.Hide();
}

}  // namespace
}  // namespace dbinst
