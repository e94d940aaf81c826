#include "ui/TvgTreeView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/SceneForms.h"

namespace dbinst {
namespace {

using test::Get;
using test::LoadScene;

constexpr const char* kTree = R"(object S: TvgScene
  Width = 300
  Height = 200
  object TreeViewPaths: TvgTreeView
    Position.X = 10
    Position.Y = 10
    Width = 200
    Height = 62
    ShowCheckboxes = True
    AutoExpand = False
    OnClick = TreeClick
    OnChangeCheck = TreeChangeCheck
    object Item1: TvgTreeViewItem
      Text = 'Orvane 2.1 (C:\Orvane\)'
      IsChecked = True
    end
    object Item2: TvgTreeViewItem
      Text = 'Kestrio 6.0 (D:\Kestrio\)'
    end
  end
end)";

class TvgTreeViewTest : public ::testing::Test {
 protected:
  TvgTreeViewTest()
      : scene_(LoadScene(
            kTree, {{"TreeClick", Recorder("click")}, {"TreeChangeCheck", Recorder("check")}})),
        tree_(Get<TvgTreeView>(*scene_, "TreeViewPaths")) {}

  TNotifyEvent Recorder(std::string what) {
    return [this, what](TvgObject& sender) { events_.push_back(what + ":" + sender.Name()); };
  }
  TvgTreeViewItem& Item(int index) { return *tree_.Items().at(index); }
  void Release(TPointF point) {
    scene_->MouseDown(point);
    scene_->MouseUp(point);
  }
  TPointF CheckBoxOf(TvgTreeViewItem& item) {
    scene_->Layout();
    const TRectF box = item.CheckBoxRect();
    const TRectF row = item.SceneRect();
    return {row.left + box.Center().x, row.top + box.Center().y};
  }

  std::unique_ptr<TvgScene> scene_;
  TvgTreeView& tree_;
  std::vector<std::string> events_;
};

TEST_F(TvgTreeViewTest, ItemsAreRowsOfFixedHeightFromTheTop) {
  ASSERT_EQ(tree_.Items().size(), 2u);
  EXPECT_EQ(Item(0).Text(), "Orvane 2.1 (C:\\Orvane\\)");
  EXPECT_TRUE(Item(0).IsChecked());
  const TRectF second = Item(1).SceneRect();
  EXPECT_FLOAT_EQ(second.top, 10 + kTreeRowHeight);
  EXPECT_FLOAT_EQ(second.Height(), kTreeRowHeight);
  EXPECT_FLOAT_EQ(second.left, 10);
  EXPECT_FLOAT_EQ(second.right, 210);
  EXPECT_TRUE(events_.empty());
}

TEST_F(TvgTreeViewTest, ReleaseOnACheckBoxTogglesItThenTheTreeHearsOfTheClick) {
  Release(CheckBoxOf(Item(1)));
  EXPECT_TRUE(Item(1).IsChecked());
  EXPECT_EQ(tree_.Selected(), nullptr);
  EXPECT_EQ(events_, (std::vector<std::string>{"check:Item2", "click:TreeViewPaths"}));
  EXPECT_EQ(scene_->ActiveControl(), &tree_);
}

TEST_F(TvgTreeViewTest, ReleaseOnARowSelectsTheItemThenTheTreeHearsOfTheClick) {
  const TRectF row = Item(1).SceneRect();
  Release({row.left + 100, row.Center().y});
  EXPECT_EQ(tree_.Selected(), &Item(1));
  EXPECT_TRUE(Item(1).IsSelected());
  EXPECT_FALSE(Item(1).IsChecked());
  EXPECT_EQ(events_, (std::vector<std::string>{"click:TreeViewPaths"}));
}

TEST_F(TvgTreeViewTest, ReleaseBelowTheItemsIsAClickOnTheTree) {
  Release({100, 65});
  EXPECT_EQ(events_, (std::vector<std::string>{"click:TreeViewPaths"}));
}

TEST_F(TvgTreeViewTest, ADisabledTreeIgnoresMouseAndKeys) {
  tree_.SetEnabled(false);
  Release(CheckBoxOf(Item(1)));
  scene_->SetActiveControl(&tree_);
  scene_->KeyDown(EKey::Down);
  scene_->KeyDown(EKey::Space);
  EXPECT_FALSE(Item(1).IsChecked());
  EXPECT_EQ(tree_.Selected(), nullptr);
  EXPECT_TRUE(events_.empty());
}

TEST_F(TvgTreeViewTest, UpAndDownMoveTheSelectionAndSpaceTogglesItsCheck) {
  scene_->SetActiveControl(&tree_);
  scene_->KeyDown(EKey::Down);
  EXPECT_EQ(tree_.Selected(), &Item(0));
  scene_->KeyDown(EKey::Down);
  scene_->KeyDown(EKey::Down);  // stays on the last
  EXPECT_EQ(tree_.Selected(), &Item(1));
  scene_->KeyDown(EKey::Space);
  EXPECT_TRUE(Item(1).IsChecked());
  scene_->KeyDown(EKey::Up);
  EXPECT_EQ(tree_.Selected(), &Item(0));
  EXPECT_EQ(events_, (std::vector<std::string>{"check:Item2"}));
}

TEST_F(TvgTreeViewTest, ChangeCheckFollowsEveryChangeOnlyOnce) {
  Item(0).SetIsChecked(true);
  Item(0).SetIsChecked(false);
  EXPECT_EQ(events_, (std::vector<std::string>{"check:Item1"}));
}

// The wizard keeps exactly one item checked with a handler that detaches itself while it works.
TEST_F(TvgTreeViewTest, AHandlerThatDetachesItselfKeepsOneItemChecked) {
  TNotifyEvent keepOne = [&](TvgObject& sender) {
    const TNotifyEvent self = tree_.OnChangeCheck;
    tree_.OnChangeCheck = nullptr;
    tree_.BeginUpdate();
    for (TvgTreeViewItem* item : tree_.Items()) item->SetIsChecked(item == &sender);
    tree_.SetSelected(static_cast<TvgTreeViewItem*>(&sender));
    tree_.EndUpdate();
    tree_.OnChangeCheck = self;
    events_.push_back("kept:" + sender.Name());
  };
  tree_.OnChangeCheck = keepOne;
  Release(CheckBoxOf(Item(1)));
  Release(CheckBoxOf(Item(1)));  // unchecking the checked item checks it again
  EXPECT_TRUE(Item(1).IsChecked());
  EXPECT_FALSE(Item(0).IsChecked());
  EXPECT_EQ(tree_.Selected(), &Item(1));
  EXPECT_EQ(events_, (std::vector<std::string>{"kept:Item2", "click:TreeViewPaths", "kept:Item2",
                                               "click:TreeViewPaths"}));
}

TEST_F(TvgTreeViewTest, ChangesBetweenBeginAndEndUpdateAreLaidOutOnceAtTheEnd) {
  scene_->Layout();
  tree_.BeginUpdate();
  tree_.BeginUpdate();
  tree_.AddItem("third");
  Item(0).SetIsChecked(false);
  tree_.EndUpdate();
  EXPECT_TRUE(tree_.Updating());
  EXPECT_FALSE(scene_->NeedsLayout());
  tree_.EndUpdate();
  EXPECT_FALSE(tree_.Updating());
  EXPECT_TRUE(scene_->NeedsLayout());
  tree_.EndUpdate();  // one too many does no harm
  scene_->Layout();
  EXPECT_FLOAT_EQ(Item(2).SceneRect().top, 10 + 2 * kTreeRowHeight);
}

TEST_F(TvgTreeViewTest, TheSelectionIsScrolledIntoTheRowsInView) {
  tree_.AddItem("third");
  tree_.AddItem("fourth");
  tree_.AddItem("fifth");
  tree_.SetSelected(&Item(4));
  scene_->Layout();
  EXPECT_EQ(tree_.TopRow(), 2);
  EXPECT_FLOAT_EQ(Item(4).SceneRect().top, 10 + 2 * kTreeRowHeight);
  // The rows scrolled out are clipped away: the top row shown takes the press.
  EXPECT_EQ(scene_->ObjectAt({100, 15}), &Item(2));
  tree_.SetSelected(&Item(0));
  scene_->Layout();
  EXPECT_EQ(tree_.TopRow(), 0);
}

TEST(TvgTreeViewItemTest, WithoutCheckBoxesTheWholeRowSelects) {
  TvgTreeView tree;
  TvgTreeViewItem& item = tree.AddItem("x");
  EXPECT_FLOAT_EQ(item.CheckBoxRect().Width(), 0);
  TvgTreeViewItem lonely;
  EXPECT_EQ(lonely.TreeView(), nullptr);
  EXPECT_FALSE(lonely.IsSelected());
  lonely.SetIsChecked(true);
  EXPECT_TRUE(lonely.IsChecked());
}

}  // namespace
}  // namespace dbinst
