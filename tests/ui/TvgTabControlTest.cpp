#include "ui/TvgTabControl.h"

#include <gtest/gtest.h>

#include "tests/ui/SceneForms.h"
#include "ui/FormLoader.h"

namespace dbinst {
namespace {

using test::Click;
using test::Get;
using test::LoadScene;

constexpr const char* kTabs = R"(object S: TvgScene
  Width = 559
  Height = 300
  object TabControlMain: TvgTabControl
    Align = vaClient
    TabIndex = 1
    object TabItem01Welcome: TvgTabItem
      Width = 80
      Height = 20
      Text = 'Welcome'
      Layout = Layout1
    end
    object TabItem02ChoosePath: TvgTabItem
      Width = 90
      Height = 24
      Layout = 'Layout2'
    end
    object TabItem03Spare: TvgTabItem
      Width = 70
      Height = 20
    end
    object Layout1: TvgLayout
      Width = 559
      Height = 277
      object Inner: TvgLayout
        Align = vaTop
        Height = 10
      end
    end
    object Layout2: TvgLayout
      Width = 559
      Height = 277
      Visible = False
    end
  end
end)";

class TvgTabControlTest : public ::testing::Test {
 protected:
  TvgTabControlTest()
      : scene_(LoadScene(kTabs)), tabs_(Get<TvgTabControl>(*scene_, "TabControlMain")) {}
  TvgTabItem& Item(int index) { return *tabs_.Items().at(index); }
  TvgObject& Page(std::string_view name) { return Get<TvgObject>(*scene_, name); }

  std::unique_ptr<TvgScene> scene_;
  TvgTabControl& tabs_;
};

TEST_F(TvgTabControlTest, TheStoredIndexSelectsItsItemAndShowsOnlyItsPage) {
  EXPECT_EQ(tabs_.Selected(), &Item(1));
  EXPECT_EQ(tabs_.TabIndex(), 1);
  EXPECT_EQ(Item(0).Page(), &Page("Layout1"));
  EXPECT_EQ(Item(2).Page(), nullptr);
  EXPECT_FALSE(Page("Layout1").Visible());
  EXPECT_TRUE(Page("Layout2").Visible());
}

TEST_F(TvgTabControlTest, SelectingAnItemShowsItsPageAndHidesTheOthers) {
  tabs_.SetSelected(&Item(0));
  EXPECT_TRUE(Page("Layout1").Visible());
  EXPECT_FALSE(Page("Layout2").Visible());
  tabs_.SetSelected(&Item(2));  // an item without a page hides every page
  EXPECT_FALSE(Page("Layout1").Visible());
  EXPECT_FALSE(Page("Layout2").Visible());
  TvgTabItem stranger;
  tabs_.SetSelected(&stranger);
  EXPECT_EQ(tabs_.Selected(), &Item(2));
}

TEST_F(TvgTabControlTest, HeadersRunAlongTheTopAsTallAsTheTallestAndPagesFillTheRest) {
  tabs_.SetSelected(&Item(0));
  scene_->Layout();
  EXPECT_FLOAT_EQ(Item(1).SceneRect().left, 80);
  const TRectF page = Page("Layout1").SceneRect();
  EXPECT_FLOAT_EQ(page.top, 24);
  EXPECT_FLOAT_EQ(page.bottom, 300);
  EXPECT_FLOAT_EQ(page.right, 559);
  EXPECT_FLOAT_EQ(Page("Inner").SceneRect().top, 24);

  // The program hides the headers by making them 2 high and nearly transparent.
  for (TvgTabItem* item : tabs_.Items()) {
    item->SetHeight(2);
    item->SetOpacity(0.01f);
  }
  scene_->Layout();
  EXPECT_FLOAT_EQ(Page("Layout1").SceneRect().top, 2);
}

TEST_F(TvgTabControlTest, AClickOnAHeaderSelectsIt) {
  Click(*scene_, Item(0));
  EXPECT_EQ(tabs_.Selected(), &Item(0));
  EXPECT_TRUE(Page("Layout1").Visible());
}

TEST_F(TvgTabControlTest, AHeaderHiddenByTheProgramDoesNotChangeThePage) {
  Item(0).SetHeight(2);
  Item(0).SetOpacity(0.01f);
  Click(*scene_, Item(0));
  EXPECT_EQ(tabs_.Selected(), &Item(1));
  EXPECT_FALSE(Page("Layout1").Visible());
}

TEST(TvgTabControlLoadTest, APageMustBeASiblingOfTheItems) {
  EXPECT_THROW(LoadScene(R"(object S: TvgScene
    object Tabs: TvgTabControl
      object Tab: TvgTabItem
        Layout = Nowhere
      end
    end
  end)"),
               EFormLoadError);
  EXPECT_THROW(LoadScene(R"(object S: TvgScene
    object Outside: TvgLayout
    end
    object Tabs: TvgTabControl
      object Tab: TvgTabItem
        Layout = Outside
      end
    end
  end)"),
               EFormLoadError);
}

TEST(TvgTabControlLoadTest, ATabIndexPastTheItemsFailsAndMinusOneSelectsNone) {
  EXPECT_THROW(LoadScene(R"(object S: TvgScene
    object Tabs: TvgTabControl
      TabIndex = 1
      object Tab: TvgTabItem
      end
    end
  end)"),
               EFormLoadError);
  auto scene = LoadScene(R"(object S: TvgScene
    object Tabs: TvgTabControl
      TabIndex = -1
      object Tab: TvgTabItem
      end
    end
  end)");
  EXPECT_EQ(Get<TvgTabControl>(*scene, "Tabs").Selected(), nullptr);
  EXPECT_EQ(Get<TvgTabControl>(*scene, "Tabs").TabIndex(), -1);
}

}  // namespace
}  // namespace dbinst
