#include <gtest/gtest.h>

#include "tests/ui/Pixels.h"
#include "tests/ui/SceneText.h"
#include "ui/TvgShapes.h"
#include "ui/TvgText.h"

namespace dbinst {
namespace {

using test::SceneFromText;
using test::TCanvas;

TCanvas::TBox Drawn(TvgScene& scene, int width, int height, float scale = 1) {
  TCanvas canvas(width, height);
  scene.Paint(canvas.Cr(), scale);
  return canvas.InkBounds();
}

TEST(PaintSceneTest, HiddenObjectsAndTheirChildrenDrawNothing) {
  auto scene = SceneFromText(R"(object S: TvgScene
  object Hidden: TvgRectangle
    Position.X = 10
    Position.Y = 10
    Width = 20
    Height = 20
    Visible = False
  end
  object Parent: TvgLayout
    Visible = False
    object Child: TvgRectangle
      Width = 20
      Height = 20
    end
  end
end
)",
                             60, 60);
  EXPECT_TRUE(Drawn(*scene, 60, 60).Empty());
  scene->Find("Hidden")->SetVisible(true);
  const TCanvas::TBox shown = Drawn(*scene, 60, 60);
  EXPECT_EQ(shown.left, 10);
  EXPECT_EQ(shown.right, 29);
}

TEST(PaintSceneTest, OpacityMultipliesDownTheTree) {
  auto scene = SceneFromText(R"(object S: TvgScene
  object Half: TvgLayout
    Width = 40
    Height = 40
    Opacity = 0.5
    object Full: TvgRectangle
      Width = 20
      Height = 20
      Fill.Color = '#FF000000'
    end
    object Quarter: TvgRectangle
      Position.X = 20
      Width = 20
      Height = 20
      Fill.Color = '#FF000000'
      Opacity = 0.5
    end
  end
end
)",
                             40, 40);
  TCanvas canvas(40, 40);
  scene->Paint(canvas.Cr(), 1);
  EXPECT_TRUE(test::Near(TCanvas::Alpha(canvas.Pixel(10, 10)), 128, 1));
  EXPECT_TRUE(test::Near(TCanvas::Alpha(canvas.Pixel(30, 10)), 64, 1));
}

TEST(PaintSceneTest, ClipChildrenCutsThemAtTheParentsEdge) {
  constexpr std::string_view kText = R"(object S: TvgScene
  object Box: TvgLayout
    Width = 30
    Height = 30
    ClipChildren = True
    object Big: TvgRectangle
      Width = 80
      Height = 80
    end
  end
end
)";
  auto clipped = SceneFromText(kText, 100, 100);
  EXPECT_EQ(Drawn(*clipped, 100, 100).right, 29);
  clipped->Find("Box")->SetClipChildren(false);
  EXPECT_EQ(Drawn(*clipped, 100, 100).right, 79);
}

TEST(PaintSceneTest, ScaleTwoDoublesWhatIsDrawnShapesAndText) {
  auto scene = SceneFromText(R"(object S: TvgScene
  object R: TvgRectangle
    Position.X = 10
    Position.Y = 10
    Width = 20
    Height = 10
  end
  object T: TvgText
    Position.X = 0
    Position.Y = 30
    Width = 100
    Height = 20
    Text = 'Instalacja'
    HorzTextAlign = vgTextAlignNear
  end
end
)",
                             100, 50);
  scene->Find("R")->SetVisible(false);
  const TCanvas::TBox text1 = Drawn(*scene, 100, 50);
  const TCanvas::TBox text2 = Drawn(*scene, 200, 100, 2);
  EXPECT_TRUE(test::Near(text2.Width(), 2 * text1.Width(), 3));
  EXPECT_TRUE(test::Near(text2.Height(), 2 * text1.Height(), 3));
  scene->Find("R")->SetVisible(true);
  scene->Find("T")->SetVisible(false);
  const TCanvas::TBox rect = Drawn(*scene, 200, 100, 2);
  EXPECT_EQ(rect.left, 20);
  EXPECT_EQ(rect.top, 20);
  EXPECT_EQ(rect.Width(), 40);
  EXPECT_EQ(rect.Height(), 20);
}

TEST(PaintSceneTest, PaintingLaysOutFirstAndClearsTheRepaintMark) {
  auto scene = SceneFromText(R"(object S: TvgScene
  object Bar: TvgRectangle
    Align = vaTop
    Height = 10
  end
end
)",
                             50, 50);
  scene->SetSize(80, 50);
  const TCanvas::TBox bar = Drawn(*scene, 100, 50);
  EXPECT_EQ(bar.right, 79);
  EXPECT_FALSE(scene->NeedsPaint());
}

}  // namespace
}  // namespace dbinst
