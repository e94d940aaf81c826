#include <gtest/gtest.h>

#include <string>

#include "tests/ui/Pixels.h"
#include "tests/ui/SceneText.h"

namespace dbinst {
namespace {

using test::SceneFromText;
using test::TCanvas;

std::string ShadowedSquare(const std::string& softness, const std::string& direction) {
  return R"(object S: TvgScene
  object Square: TvgRectangle
    Position.X = 30
    Position.Y = 30
    Width = 40
    Height = 40
    Fill.Color = '#FFFFFFFF'
    object Shadow: TvgShadowEffect
      Distance = 4
      Direction = )" +
         direction + R"(
      Softness = )" +
         softness + R"(
      Opacity = 1
      ShadowColor = '#FF000000'
    end
  end
end
)";
}

int AlphaSum(const TCanvas& canvas, int left, int top, int right, int bottom) {
  int sum = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) sum += TCanvas::Alpha(canvas.Pixel(x, y));
  }
  return sum;
}

TEST(PaintEffectsTest, AHardShadowFallsOnTheOffsetSideOnly) {
  auto scene = SceneFromText(ShadowedSquare("0", "45"), 100, 100);
  TCanvas canvas(100, 100);
  scene->Paint(canvas.Cr(), 1);
  EXPECT_EQ(canvas.Pixel(50, 50), 0xFFFFFFFFu);  // the square stays on top
  EXPECT_EQ(canvas.Pixel(71, 50), 0xFF000000u);  // right of it: shadow
  EXPECT_EQ(canvas.Pixel(50, 71), 0xFF000000u);  // below it: shadow
  EXPECT_EQ(TCanvas::Alpha(canvas.Pixel(28, 50)), 0);
  EXPECT_EQ(TCanvas::Alpha(canvas.Pixel(50, 28)), 0);
  EXPECT_EQ(TCanvas::Alpha(canvas.Pixel(76, 50)), 0);  // no further than the distance
}

TEST(PaintEffectsTest, ASoftShadowSpreadsButStaysHeavierOnTheOffsetSide) {
  auto scene = SceneFromText(ShadowedSquare("0.3", "45"), 100, 100);
  TCanvas canvas(100, 100);
  scene->Paint(canvas.Cr(), 1);
  const int right = AlphaSum(canvas, 70, 30, 80, 70);
  const int left = AlphaSum(canvas, 20, 30, 30, 70);
  EXPECT_GT(right, 3 * left);
  EXPECT_GT(TCanvas::Alpha(canvas.Pixel(77, 50)), 0);  // blurred past the hard edge
  EXPECT_LT(TCanvas::Alpha(canvas.Pixel(71, 50)), 255);
}

TEST(PaintEffectsTest, TheShadowFollowsItsDirection) {
  auto scene = SceneFromText(ShadowedSquare("0", "180"), 100, 100);
  TCanvas canvas(100, 100);
  scene->Paint(canvas.Cr(), 1);
  EXPECT_EQ(canvas.Pixel(28, 50), 0xFF000000u);
  EXPECT_EQ(TCanvas::Alpha(canvas.Pixel(71, 50)), 0);
}

TEST(PaintEffectsTest, TheShadowScalesWithTheScene) {
  auto scene = SceneFromText(ShadowedSquare("0", "0"), 100, 100);
  TCanvas canvas(200, 200);
  scene->Paint(canvas.Cr(), 2);
  EXPECT_EQ(canvas.Pixel(145, 100), 0xFF000000u);
  EXPECT_EQ(TCanvas::Alpha(canvas.Pixel(149, 100)), 0);
}

TEST(PaintEffectsTest, TheReflectionMirrorsBelowAndFadesOverItsLength) {
  auto scene = SceneFromText(R"(object S: TvgScene
  object Band: TvgRectangle
    Position.X = 10
    Position.Y = 10
    Width = 40
    Height = 20
    Fill.Kind = vgBrushGradient
    Fill.Gradient.Points = <
      item
        Color = '#FFFF0000'
        Offset = 0
      end
      item
        Color = '#FF0000FF'
        Offset = 1
      end>
    object Mirror: TvgReflectionEffect
      Opacity = 1
      Offset = 0
      Length = 0.5
    end
  end
end
)",
                             60, 60);
  TCanvas canvas(60, 60);
  scene->Paint(canvas.Cr(), 1);
  const uint32_t justBelow = canvas.Pixel(30, 30);
  EXPECT_GT(TCanvas::Alpha(justBelow), 200);
  EXPECT_GT(TCanvas::Blue(justBelow), TCanvas::Red(justBelow));  // the bottom comes first
  EXPECT_LT(TCanvas::Alpha(canvas.Pixel(30, 38)), TCanvas::Alpha(justBelow));
  EXPECT_EQ(TCanvas::Alpha(canvas.Pixel(30, 41)), 0);  // faded out after half the height
}

}  // namespace
}  // namespace dbinst
