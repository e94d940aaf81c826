#include <gtest/gtest.h>

#include <string>

#include "tests/ui/Pixels.h"
#include "tests/ui/SceneText.h"
#include "ui/FormStreamReader.h"
#include "ui/TvgControls.h"
#include "ui/TvgProgressBar.h"
#include "ui/TvgResources.h"

namespace dbinst {
namespace {

using test::IsAccent;
using test::SceneFromText;
using test::TCanvas;

std::unique_ptr<TvgScene> BarScene() {
  return SceneFromText(R"(object S: TvgScene
  object Bar: TvgProgressBar
    Width = 100
    Height = 12
    Min = 0
    Max = 100
    Value = 50
  end
end
)",
                       100, 12);
}

bool AccentAt(TvgScene& scene, int x, int y, int width = 100, int height = 12) {
  TCanvas canvas(width, height);
  scene.Paint(canvas.Cr(), 1);
  return IsAccent(canvas.Pixel(x, y));
}

TEST(PaintControlsTest, AProgressBarFillsFromMinimumToValue) {
  auto scene = BarScene();
  EXPECT_TRUE(AccentAt(*scene, 40, 6));
  EXPECT_FALSE(AccentAt(*scene, 60, 6));
  auto& bar = dynamic_cast<TvgProgressBar&>(*scene->Find("Bar"));
  bar.SetMin(40);
  bar.SetValue(45);  // a tenth of 40..90 with the maximum below
  bar.SetMax(90);
  EXPECT_TRUE(AccentAt(*scene, 8, 6));
  EXPECT_FALSE(AccentAt(*scene, 15, 6));
}

TEST(PaintControlsTest, AProgressBarClampsItsValueAndDrawsAZeroRangeEmpty) {
  auto scene = BarScene();
  auto& bar = dynamic_cast<TvgProgressBar&>(*scene->Find("Bar"));
  bar.SetValue(250);
  EXPECT_TRUE(AccentAt(*scene, 97, 6));
  bar.SetValue(-5);
  EXPECT_FALSE(AccentAt(*scene, 2, 6));
  bar.SetValue(50);
  bar.SetMax(0);  // min 0, max 0
  EXPECT_FALSE(AccentAt(*scene, 2, 6));
  bar.SetMin(10);  // a range running backwards
  EXPECT_FALSE(AccentAt(*scene, 2, 6));
}

constexpr std::string_view kButtons = R"(object S: TvgScene
  object Plain: TvgButton
    Position.X = 0
    Width = 100
    Height = 24
    Text = 'Dalej'
  end
  object Quiet: TvgButton
    Position.X = 120
    Width = 100
    Height = 24
    Text = 'Dalej'
    DisableFocusEffect = True
  end
end
)";

// The alpha of the button's border on its left edge, half way down.
int BorderAlpha(TvgScene& scene, int x) {
  TCanvas canvas(240, 24);
  scene.Paint(canvas.Cr(), 1);
  return TCanvas::Alpha(canvas.Pixel(x, 12));
}

TEST(PaintControlsTest, ADisabledButtonIsDimmed) {
  auto scene = SceneFromText(kButtons, 240, 24);
  EXPECT_EQ(BorderAlpha(*scene, 0), 255);
  scene->Find("Plain")->SetEnabled(false);
  EXPECT_LT(BorderAlpha(*scene, 0), 160);
  EXPECT_GT(BorderAlpha(*scene, 0), 60);
}

TEST(PaintControlsTest, AFocusedButtonShowsTheAccentRingUnlessItsEffectIsOff) {
  auto scene = SceneFromText(kButtons, 240, 24);
  const auto ringAt = [&](int x) {
    TCanvas canvas(240, 24);
    scene->Paint(canvas.Cr(), 1);
    return IsAccent(canvas.Pixel(x, 12));
  };
  EXPECT_FALSE(ringAt(2));
  scene->SetActiveControl(scene->Find("Plain"));
  EXPECT_TRUE(ringAt(2));
  scene->SetActiveControl(scene->Find("Quiet"));
  EXPECT_FALSE(ringAt(122));
}

TEST(PaintControlsTest, AButtonLightensUnderTheMouseAndDarkensWhilePressed) {
  auto scene = SceneFromText(kButtons, 240, 24);
  const auto fillAt = [&] {
    TCanvas canvas(240, 24);
    scene->Paint(canvas.Cr(), 1);
    return TCanvas::Red(canvas.Pixel(50, 18));
  };
  const int normal = fillAt();
  scene->MouseMove({50, 12});
  const int hot = fillAt();
  scene->MouseDown({50, 12});
  const int pressed = fillAt();
  scene->MouseUp({50, 12});
  EXPECT_GT(hot, normal);
  EXPECT_LT(pressed, normal);
}

TEST(PaintControlsTest, ButtonTextIsCentredInTheStylesTextColour) {
  auto scene = SceneFromText(kButtons, 240, 24);
  scene->Find("Quiet")->SetVisible(false);
  TCanvas canvas(240, 24);
  scene->Paint(canvas.Cr(), 1);
  const TCanvas::TBox text =
      canvas.Bounds([](uint32_t p) { return TCanvas::Alpha(p) == 255 && TCanvas::Red(p) < 0x60; });
  ASSERT_FALSE(text.Empty());
  EXPECT_TRUE(test::Near((text.left + text.right) / 2, 50, 3));
  EXPECT_TRUE(test::Near((text.top + text.bottom) / 2, 12, 3));
}

TEST(PaintControlsTest, TheScenesLibraryOverridesTheBuiltInLook) {
  auto scene = SceneFromText(kButtons, 240, 24);
  const auto fillAt = [&] {
    TCanvas canvas(240, 24);
    scene->Paint(canvas.Cr(), 1);
    return canvas.Pixel(50, 3);
  };
  const uint32_t builtIn = fillAt();
  EXPECT_GT(TCanvas::Red(builtIn), 0xE0);  // light grey
  const auto library = test::StyleLibraryFromText(R"(object S: TvgStyleBook
  object buttonstyle: TvgStyle
    Fill.Color = '#FF00FF00'
  end
  object greenbutton: TvgStyle
    Fill.Color = '#FF0000FF'
  end
end
)");
  scene->SetStyleLibrary(library.get());
  EXPECT_EQ(fillAt(), 0xFF00FF00u);
  scene->Find("Plain")->SetStyleLookup("greenbutton");
  EXPECT_EQ(fillAt(), 0xFF0000FFu);
  scene->Find("Plain")->SetStyleLookup("nosuchstyle");  // falls back to the kind's style
  EXPECT_EQ(fillAt(), 0xFF00FF00u);
  scene->SetStyleLibrary(nullptr);
}

TEST(PaintControlsTest, ACheckedRadioButtonHasTheAccentDot) {
  auto scene = SceneFromText(R"(object S: TvgScene
  object A: TvgRadioButton
    Width = 200
    Height = 20
    Text = 'Program główny'
    IsChecked = True
  end
  object B: TvgRadioButton
    Position.Y = 30
    Width = 200
    Height = 20
    Text = 'Inny program'
  end
end
)",
                             200, 50);
  TCanvas canvas(200, 50);
  scene->Paint(canvas.Cr(), 1);
  EXPECT_TRUE(IsAccent(canvas.Pixel(6, 10)));
  EXPECT_FALSE(IsAccent(canvas.Pixel(6, 40)));
  const TCanvas::TBox text =
      canvas.Bounds([](uint32_t p) { return TCanvas::Alpha(p) > 200 && TCanvas::Blue(p) < 0x40; });
  EXPECT_GT(text.left, 13);  // right of the circle
}

TEST(PaintControlsTest, AGroupBoxFramesItsAreaWithTheTitleAtTheTopLeft) {
  auto scene = SceneFromText(R"(object S: TvgScene
  object G: TvgGroupBox
    Width = 200
    Height = 100
    Text = 'Witamy'
    Font.Style = [vgFontBold]
  end
end
)",
                             200, 100);
  TCanvas canvas(200, 100);
  scene->Paint(canvas.Cr(), 1);
  const TCanvas::TBox frame = canvas.InkBounds();
  EXPECT_EQ(frame.left, 0);
  EXPECT_EQ(frame.right, 199);
  EXPECT_EQ(frame.bottom, 99);
  const TCanvas::TBox title =
      canvas.Bounds([](uint32_t p) { return TCanvas::Alpha(p) > 200 && TCanvas::Red(p) < 0x50; });
  ASSERT_FALSE(title.Empty());
  EXPECT_LT(title.left, 30);
  EXPECT_LT(title.bottom, 20);
  EXPECT_EQ(TCanvas::Alpha(canvas.Pixel(100, 2)), 0);  // above the frame's top line
}

}  // namespace
}  // namespace dbinst
