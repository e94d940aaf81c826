#include <cairo.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/ui/Pixels.h"
#include "tests/ui/SceneText.h"
#include "ui/TPicture.h"
#include "ui/TvgShapes.h"

namespace dbinst {
namespace {

using test::SceneFromText;
using test::TCanvas;

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

std::shared_ptr<const TPicture> RedPicture(int width, int height) {
  TCanvas canvas(width, height);
  cairo_set_source_rgb(canvas.Cr(), 1, 0, 0);
  cairo_paint(canvas.Cr());
  std::string png;
  cairo_surface_write_to_png_stream(canvas.Surface(), Append, &png);
  return TPicture::Decode(png);
}

TCanvas::TBox ImageInk(const std::string& wrapMode) {
  auto scene = SceneFromText(R"(object S: TvgScene
  object I: TvgImage
    Width = 100
    Height = 100
    WrapMode = )" + wrapMode + R"(
  end
end
)",
                             100, 100);
  dynamic_cast<TvgImage&>(*scene->Find("I")).SetPicture(RedPicture(40, 20));
  TCanvas canvas(100, 100);
  scene->Paint(canvas.Cr(), 1);
  return canvas.InkBounds();
}

TEST(PaintShapesTest, AFittedImageKeepsItsProportionsAndIsCentred) {
  const TCanvas::TBox ink = ImageInk("vgImageFit");
  EXPECT_EQ(ink.left, 0);
  EXPECT_EQ(ink.right, 99);
  EXPECT_EQ(ink.top, 25);
  EXPECT_EQ(ink.bottom, 74);
}

TEST(PaintShapesTest, AStretchedImageFillsItsRectangleAndAnOriginalOneKeepsItsSize) {
  const TCanvas::TBox stretched = ImageInk("vgImageStretch");
  EXPECT_EQ(stretched.Width(), 100);
  EXPECT_EQ(stretched.Height(), 100);
  const TCanvas::TBox original = ImageInk("vgImageOriginal");
  EXPECT_EQ(original.Width(), 40);
  EXPECT_EQ(original.Height(), 20);
}

TEST(PaintShapesTest, AnImageWithoutAPictureDrawsNothing) {
  auto scene = SceneFromText("object S: TvgScene\n object I: TvgImage\n end\nend\n", 60, 60);
  TCanvas canvas(60, 60);
  scene->Paint(canvas.Cr(), 1);
  EXPECT_TRUE(canvas.InkBounds().Empty());
}

TEST(PaintShapesTest, ARectangleGradientRunsThroughItsStopsFromTopToBottom) {
  auto scene = SceneFromText(R"(object S: TvgScene
  object R: TvgRectangle
    Width = 10
    Height = 101
    Fill.Kind = vgBrushGradient
    Fill.Gradient.Points = <
      item
        Color = '#FFF8F8F8'
        Offset = 0
      end
      item
        Color = '#FFECECEC'
        Offset = 0.1068965
      end
      item
        Color = '#FFECECEC'
        Offset = 0.8793104
      end
      item
        Color = '#FFE0E0E0'
        Offset = 1
      end>
  end
end
)",
                             10, 101);
  TCanvas canvas(10, 101);
  scene->Paint(canvas.Cr(), 1);
  EXPECT_TRUE(test::Near(TCanvas::Red(canvas.Pixel(5, 0)), 0xF8, 1));
  EXPECT_EQ(TCanvas::Red(canvas.Pixel(5, 50)), 0xEC);
  EXPECT_TRUE(test::Near(TCanvas::Red(canvas.Pixel(5, 100)), 0xE0, 1));
}

TEST(PaintShapesTest, TheTopBarStyleReadsAsADarkerBandThanTheWindow) {
  auto scene = SceneFromText(R"(object S: TvgScene
  object Root1: TvgBackground
    Align = vaClient
    object BackgroundTop: TvgBackground
      Align = vaTop
      Height = 27
      StyleLookup = 'backgroundmover'
    end
  end
end
)",
                             100, 100);
  TCanvas canvas(100, 100);
  scene->Paint(canvas.Cr(), 1);
  EXPECT_EQ(TCanvas::Alpha(canvas.Pixel(50, 60)), 255);
  EXPECT_LT(TCanvas::Red(canvas.Pixel(50, 13)), TCanvas::Red(canvas.Pixel(50, 60)) - 20);
}

TEST(PaintShapesTest, TextIsDrawnInItsColourAndAlignment) {
  auto scene = SceneFromText(R"(object S: TvgScene
  object T: TvgText
    Width = 200
    Height = 40
    Text = 'Uwaga'
    Fill.Color = '#FFC04040'
    HorzTextAlign = vgTextAlignFar
    VertTextAlign = vgTextAlignNear
  end
end
)",
                             200, 40);
  TCanvas canvas(200, 40);
  scene->Paint(canvas.Cr(), 1);
  const TCanvas::TBox solid = canvas.Bounds([](uint32_t p) {
    return TCanvas::Alpha(p) > 200 && TCanvas::Red(p) > TCanvas::Green(p) + 60;
  });
  ASSERT_FALSE(solid.Empty());
  const TCanvas::TBox other = canvas.Bounds(
      [](uint32_t p) { return TCanvas::Alpha(p) > 0 && TCanvas::Green(p) != TCanvas::Blue(p); });
  EXPECT_TRUE(other.Empty());
  EXPECT_GT(solid.right, 190);
  EXPECT_LT(solid.bottom, 20);
}

}  // namespace
}  // namespace dbinst
