#include "ui/Painter.h"

#include <gtest/gtest.h>

#include "tests/ui/Pixels.h"
#include "tests/ui/SceneText.h"
#include "ui/TvgControls.h"
#include "ui/TvgResources.h"
#include "ui/TvgScene.h"

namespace dbinst {
namespace {

using test::TCanvas;

TTextLook Look(TAlphaColor color, ETextAlign horz = ETextAlign::Near, bool wrap = false) {
  TTextLook look;
  look.font.size = 12;
  look.color = color;
  look.horz = horz;
  look.wordWrap = wrap;
  return look;
}

TEST(PainterTest, TextIsDrawnInsideItsRectangleInItsColour) {
  TCanvas canvas(200, 60);
  DrawText(canvas.Cr(), {50, 20, 150, 40}, "Hello", Look(0xFFFF0000));
  const TCanvas::TBox ink = canvas.InkBounds();
  ASSERT_FALSE(ink.Empty());
  EXPECT_GE(ink.left, 50);
  EXPECT_LE(ink.right, 150);
  EXPECT_GE(ink.top, 20);
  EXPECT_LE(ink.bottom, 40);
  const TCanvas::TBox solid = canvas.Bounds([](uint32_t p) {
    return TCanvas::Alpha(p) == 255 && TCanvas::Red(p) == 255 && TCanvas::Green(p) == 0;
  });
  EXPECT_FALSE(solid.Empty());
  const TCanvas::TBox other = canvas.Bounds([](uint32_t p) {
    return TCanvas::Alpha(p) > 0 && (TCanvas::Green(p) > 0 || TCanvas::Blue(p) > 0);
  });
  EXPECT_TRUE(other.Empty());
}

TEST(PainterTest, ControlsShareOneAccentAndOneFadeUnlessTheirStyleSaysOtherwise) {
  const auto library = test::StyleLibraryFromText(R"(object S: TvgStyleBook
  object commonstyle: TvgStyle
    Accent.Color = '#FFFF0000'
    Disabled.Opacity = 0.2
  end
  object buttonstyle: TvgStyle
    Focus.Color = '#FF00FF00'
  end
  object treeviewstyle: TvgStyle
    Disabled.Opacity = 0.7
  end
end
)");
  TvgScene scene;
  scene.SetStyleLibrary(library.get());
  TvgButton& button = static_cast<TvgButton&>(scene.AddChild(std::make_unique<TvgButton>()));
  const TvgStyle& buttonStyle = *scene.Style("buttonstyle");
  EXPECT_EQ(ColorOrAccent(button, buttonStyle, "Focus.Color"), 0xFF00FF00u);
  EXPECT_EQ(ColorOrAccent(button, buttonStyle, "Stroke.Default"), 0xFFFF0000u);
  // Styles the library lacks come built in, and still take the scene's accent.
  EXPECT_EQ(ColorOrAccent(button, *scene.Style("checkboxstyle"), "Check.Color"), 0xFFFF0000u);
  EXPECT_EQ(DisabledOpacity(button, buttonStyle), 1.0f);
  scene.SetEnabled(false);
  EXPECT_FLOAT_EQ(DisabledOpacity(button, buttonStyle), 0.2f);
  EXPECT_FLOAT_EQ(DisabledOpacity(button, *scene.Style("treeviewstyle")), 0.7f);
}

TEST(PainterTest, TextAlignsNearCentreAndFar) {
  const TRectF rect{0, 0, 300, 30};
  TCanvas nearCanvas(300, 30), centreCanvas(300, 30), farCanvas(300, 30);
  DrawText(nearCanvas.Cr(), rect, "Tak", Look(kColorBlack, ETextAlign::Near));
  DrawText(centreCanvas.Cr(), rect, "Tak", Look(kColorBlack, ETextAlign::Center));
  DrawText(farCanvas.Cr(), rect, "Tak", Look(kColorBlack, ETextAlign::Far));
  EXPECT_LT(nearCanvas.InkBounds().left, 5);
  const TCanvas::TBox centre = centreCanvas.InkBounds();
  EXPECT_TRUE(test::Near((centre.left + centre.right) / 2, 150, 4));
  EXPECT_GT(farCanvas.InkBounds().right, 294);
}

TEST(PainterTest, TextCentresVerticallyOrSitsAtTheTopOrBottom) {
  TCanvas top(100, 100), bottom(100, 100);
  TTextLook look = Look(kColorBlack);
  look.vert = ETextAlign::Near;
  DrawText(top.Cr(), {0, 0, 100, 100}, "Xy", look);
  look.vert = ETextAlign::Far;
  DrawText(bottom.Cr(), {0, 0, 100, 100}, "Xy", look);
  EXPECT_LT(top.InkBounds().bottom, 25);
  EXPECT_GT(bottom.InkBounds().top, 75);
}

TEST(PainterTest, LongTextIsOneEllipsizedLineOrWrapsAtWords) {
  const std::string text = "Czy na pewno chcesz zakończyć działanie instalatora baz danych?";
  TCanvas oneLine(400, 100), wrapped(400, 100);
  DrawText(oneLine.Cr(), {0, 0, 120, 100}, text, Look(kColorBlack));
  DrawText(wrapped.Cr(), {0, 0, 120, 100}, text, Look(kColorBlack, ETextAlign::Near, true));
  const TCanvas::TBox line = oneLine.InkBounds();
  const TCanvas::TBox block = wrapped.InkBounds();
  EXPECT_LE(line.right, 120);
  EXPECT_LT(line.Height(), 16);
  EXPECT_LE(block.right, 120);
  EXPECT_GT(block.Height(), 3 * 12);
}

TEST(PainterTest, BoldTextIsWiderAndTransparentTextDrawsNothing) {
  TCanvas regular(300, 30), bold(300, 30), clear(300, 30);
  TTextLook look = Look(kColorBlack);
  DrawText(regular.Cr(), {0, 0, 300, 30}, "Instalacja baz", look);
  look.font.bold = true;
  DrawText(bold.Cr(), {0, 0, 300, 30}, "Instalacja baz", look);
  look.color = 0x00000000;
  DrawText(clear.Cr(), {0, 0, 300, 30}, "Instalacja baz", look);
  EXPECT_GT(bold.InkBounds().Width(), regular.InkBounds().Width());
  EXPECT_TRUE(clear.InkBounds().Empty());
}

TEST(PainterTest, BrokenUtf8StillShowsItsValidPart) {
  TCanvas broken(300, 30), valid(300, 30);
  DrawText(broken.Cr(), {0, 0, 300, 30}, "Baza\xff\xfe danych", Look(kColorBlack));
  DrawText(valid.Cr(), {0, 0, 300, 30}, "Baza", Look(kColorBlack));
  const TCanvas::TBox drawn = broken.InkBounds();
  ASSERT_FALSE(drawn.Empty());
  EXPECT_GT(drawn.Width(), valid.InkBounds().Width());
}

TEST(PainterTest, TheWindowsFaceFallsBackToAnInstalledLookAlike) {
  EXPECT_EQ(FontFamilyList("Microsoft Sans Serif"),
            "Microsoft Sans Serif,Liberation Sans,Arial,sans-serif");
  EXPECT_EQ(FontFamilyList("DejaVu Serif"), "DejaVu Serif,sans-serif");
  TFont font;
  const std::string chosen = ResolvedFontFamily(font);
  // The build machine carries Liberation Sans (scripts/deps.sh) and no Microsoft fonts.
  EXPECT_EQ(chosen, "Liberation Sans");
}

TEST(PainterTest, MeasuredTextGrowsWithTheFontSize) {
  TCanvas canvas(10, 10);
  TFont small, large;
  small.size = 10;
  large.size = 20;
  const TPointF a = MeasureText(canvas.Cr(), "Dalej", small);
  const TPointF b = MeasureText(canvas.Cr(), "Dalej", large);
  EXPECT_GT(a.x, 0);
  EXPECT_NEAR(b.x / a.x, 2.0, 0.15);
  EXPECT_NEAR(b.y / a.y, 2.0, 0.15);
}

TEST(PainterTest, RoundedRectangleLeavesItsCornersEmpty) {
  TCanvas canvas(40, 40);
  RoundedRectPath(canvas.Cr(), {0, 0, 40, 40}, 10);
  SetSourceColor(canvas.Cr(), 0xFF2F6FB0);
  cairo_fill(canvas.Cr());
  EXPECT_EQ(TCanvas::Alpha(canvas.Pixel(0, 0)), 0);
  EXPECT_EQ(TCanvas::Alpha(canvas.Pixel(39, 39)), 0);
  EXPECT_EQ(canvas.Pixel(20, 20), 0xFF2F6FB0u);
  EXPECT_EQ(canvas.Pixel(20, 0), 0xFF2F6FB0u);
}

TEST(PainterTest, HugeRadiusIsClampedToAStadium) {
  TCanvas canvas(60, 20);
  RoundedRectPath(canvas.Cr(), {0, 0, 60, 20}, 1000);
  SetSourceColor(canvas.Cr(), kColorBlack);
  cairo_fill(canvas.Cr());
  EXPECT_EQ(TCanvas::Alpha(canvas.Pixel(30, 10)), 255);
  EXPECT_EQ(TCanvas::Alpha(canvas.Pixel(0, 0)), 0);
}

TEST(PainterTest, VerticalFillRunsFromTopColourToBottomColour) {
  TCanvas canvas(10, 100);
  cairo_rectangle(canvas.Cr(), 0, 0, 10, 100);
  FillVertical(canvas.Cr(), {0, 0, 10, 100}, 0xFFFF0000, 0xFF0000FF);
  EXPECT_GT(TCanvas::Red(canvas.Pixel(5, 0)), 245);
  EXPECT_GT(TCanvas::Blue(canvas.Pixel(5, 99)), 245);
  EXPECT_TRUE(test::Near(TCanvas::Red(canvas.Pixel(5, 50)), 128, 6));
}

TEST(PainterTest, OpacityHalfHalvesAlphaAndZeroDrawsNothing) {
  TCanvas half(10, 10), none(10, 10);
  const auto fill = [](cairo_t* cr) {
    return [cr] {
      cairo_rectangle(cr, 0, 0, 10, 10);
      SetSourceColor(cr, kColorBlack);
      cairo_fill(cr);
    };
  };
  PaintWithOpacity(half.Cr(), 0.5f, fill(half.Cr()));
  PaintWithOpacity(none.Cr(), 0.0f, fill(none.Cr()));
  EXPECT_TRUE(test::Near(TCanvas::Alpha(half.Pixel(5, 5)), 128, 1));
  EXPECT_EQ(TCanvas::Alpha(none.Pixel(5, 5)), 0);
}

}  // namespace
}  // namespace dbinst
