#include <gtest/gtest.h>

#include "tests/ui/Pixels.h"
#include "tests/ui/SceneText.h"
#include "ui/TvgResources.h"
#include "ui/TvgTabControl.h"
#include "ui/TvgTreeView.h"

namespace dbinst {
namespace {

using test::IsAccent;
using test::SceneFromText;
using test::TCanvas;

std::unique_ptr<TvgScene> TreeScene() {
  return SceneFromText(R"(object S: TvgScene
  object Tree: TvgTreeView
    Width = 200
    Height = 62
    ShowCheckboxes = True
    object First: TvgTreeViewItem
      Text = 'C:\Orvane\'
      IsChecked = True
    end
    object Second: TvgTreeViewItem
      Text = 'D:\Kestrio\'
    end
  end
end
)",
                       200, 62);
}

TEST(PaintListsTest, TheSelectedRowIsHighlightedInTheAccent) {
  auto scene = TreeScene();
  auto& tree = dynamic_cast<TvgTreeView&>(*scene->Find("Tree"));
  tree.SetSelected(tree.Items()[1]);
  TCanvas canvas(200, 62);
  scene->Paint(canvas.Cr(), 1);
  const TRectF second = tree.Items()[1]->SceneRect();
  const TRectF first = tree.Items()[0]->SceneRect();
  EXPECT_TRUE(IsAccent(canvas.Pixel(190, static_cast<int>(second.top + 2))));
  EXPECT_FALSE(IsAccent(canvas.Pixel(190, static_cast<int>(first.top + 2))));
  EXPECT_EQ(canvas.Pixel(190, 58), 0xFFFFFFFFu);  // the white field below the rows
}

TEST(PaintListsTest, CheckedItemsShowTheAccentMarkInTheirBox) {
  auto scene = TreeScene();
  auto& tree = dynamic_cast<TvgTreeView&>(*scene->Find("Tree"));
  TCanvas canvas(200, 62);
  scene->Paint(canvas.Cr(), 1);
  const auto accentIn = [&](const TvgTreeViewItem& item) {
    const TRectF box = item.CheckBoxRect();
    const TRectF row = item.SceneRect();
    const TCanvas::TBox mark = canvas.Bounds(IsAccent);
    return !mark.Empty() && mark.top >= row.top + box.top - 1 &&
           mark.bottom <= row.top + box.bottom;
  };
  EXPECT_TRUE(accentIn(*tree.Items()[0]));
  tree.Items()[0]->SetIsChecked(false);
  TCanvas after(200, 62);
  scene->Paint(after.Cr(), 1);
  EXPECT_TRUE(after.Bounds(IsAccent).Empty());
}

TEST(PaintListsTest, CheckBoxesTakeTheirOwnStyleWhateverTheTreeNames) {
  auto scene = TreeScene();
  const auto library = test::StyleLibraryFromText(R"(object S: TvgStyleBook
  object checkboxstyle: TvgStyle
    Check.Color = '#FF00C000'
  end
  object calmtree: TvgStyle
    Fill.Color = '#FFFFFFFF'
  end
end
)");
  scene->SetStyleLibrary(library.get());
  scene->Find("Tree")->SetStyleLookup("calmtree");
  TCanvas canvas(200, 62);
  scene->Paint(canvas.Cr(), 1);
  scene->SetStyleLibrary(nullptr);
  EXPECT_FALSE(canvas.Bounds([](uint32_t p) { return p == 0xFF00C000u; }).Empty());
}

TEST(PaintListsTest, TheTabControlPaintsTheSelectedPageOnly) {
  auto scene = SceneFromText(R"(object S: TvgScene
  object Tabs: TvgTabControl
    Width = 100
    Height = 100
    TabIndex = 1
    object Tab1: TvgTabItem
      Text = 'Jeden'
      Layout = 'Page1'
    end
    object Tab2: TvgTabItem
      Text = 'Dwa'
      Layout = 'Page2'
    end
    object Page1: TvgRectangle
      Fill.Color = '#FFFF0000'
    end
    object Page2: TvgRectangle
      Fill.Color = '#FF0000FF'
    end
  end
end
)",
                             100, 100);
  TCanvas canvas(100, 100);
  scene->Paint(canvas.Cr(), 1);
  const TCanvas::TBox red = canvas.Bounds([](uint32_t p) { return p == 0xFFFF0000u; });
  const TCanvas::TBox blue = canvas.Bounds([](uint32_t p) { return p == 0xFF0000FFu; });
  EXPECT_TRUE(red.Empty());
  EXPECT_FALSE(blue.Empty());
  EXPECT_EQ(TCanvas::Alpha(canvas.Pixel(99, 99)), 255);
}

}  // namespace
}  // namespace dbinst
