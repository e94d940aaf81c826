#include "ui/TvgObject.h"

#include <gtest/gtest.h>

#include "tests/ui/SceneForms.h"
#include "ui/TvgShapes.h"
#include "ui/TvgText.h"

namespace dbinst {
namespace {

using test::Get;
using test::LoadScene;

void ExpectRect(const TvgObject& object, TRectF expected) {
  const TRectF rect = object.SceneRect();
  EXPECT_FLOAT_EQ(rect.left, expected.left) << object.Name();
  EXPECT_FLOAT_EQ(rect.top, expected.top) << object.Name();
  EXPECT_FLOAT_EQ(rect.right, expected.right) << object.Name();
  EXPECT_FLOAT_EQ(rect.bottom, expected.bottom) << object.Name();
}

TEST(TvgObjectTest, EdgesArePlacedTopBottomLeftRightBeforeClientWhateverTheChildOrder) {
  auto scene = LoadScene(R"(object S: TvgScene
    Width = 200
    Height = 100
    object C: TvgLayout
      Align = vaClient
    end
    object R: TvgLayout
      Align = vaRight
      Width = 40
    end
    object L: TvgLayout
      Align = vaLeft
      Width = 30
    end
    object B: TvgLayout
      Align = vaBottom
      Height = 20
    end
    object T: TvgLayout
      Align = vaTop
      Height = 10
    end
  end)");
  ExpectRect(Get<TvgObject>(*scene, "T"), {0, 0, 200, 10});
  ExpectRect(Get<TvgObject>(*scene, "B"), {0, 80, 200, 100});
  ExpectRect(Get<TvgObject>(*scene, "L"), {0, 10, 30, 80});
  ExpectRect(Get<TvgObject>(*scene, "R"), {160, 10, 200, 80});
  ExpectRect(Get<TvgObject>(*scene, "C"), {30, 10, 160, 80});
}

TEST(TvgObjectTest, PaddingIsKeptAroundChildrenAndMarginsInsideTheParent) {
  auto scene = LoadScene(R"(object S: TvgScene
    Width = 300
    Height = 200
    object P: TvgLayout
      Position.X = 10
      Position.Y = 20
      Width = 100
      Height = 100
      Margins.Left = 5
      Margins.Top = 6
      Margins.Right = 7
      Margins.Bottom = 8
      object A: TvgLayout
        Align = vaTop
        Height = 10
        Padding.Left = 1
        Padding.Top = 2
        Padding.Right = 3
        Padding.Bottom = 4
      end
      object B: TvgLayout
        Align = vaTop
        Height = 10
      end
      object Rest: TvgLayout
        Align = vaClient
        Padding.Left = 2
        Padding.Bottom = 2
      end
    end
  end)");
  ExpectRect(Get<TvgObject>(*scene, "P"), {10, 20, 110, 120});
  ExpectRect(Get<TvgObject>(*scene, "A"), {16, 28, 100, 38});
  ExpectRect(Get<TvgObject>(*scene, "B"), {15, 42, 103, 52});
  ExpectRect(Get<TvgObject>(*scene, "Rest"), {17, 52, 103, 110});
  // An aligned child takes over the size and the place the layout gave it.
  EXPECT_FLOAT_EQ(Get<TvgObject>(*scene, "A").Width(), 84);
  EXPECT_FLOAT_EQ(Get<TvgObject>(*scene, "A").Position().x, 6);
}

TEST(TvgObjectTest, NegativePaddingLetsAChildReachPastTheSpaceLeft) {
  auto scene = LoadScene(R"(object S: TvgScene
    Width = 559
    Height = 426
    object Top: TvgLayout
      Align = vaTop
      Height = 83
    end
    object Tabs: TvgLayout
      Align = vaClient
      Padding.Top = -3
      Padding.Bottom = -1
    end
    object Bottom: TvgLayout
      Align = vaBottom
      Height = 50
    end
  end)");
  ExpectRect(Get<TvgObject>(*scene, "Tabs"), {0, 80, 559, 377});
}

TEST(TvgObjectTest, HiddenChildrenTakeNoSpaceUntilShown) {
  auto scene = LoadScene(R"(object S: TvgScene
    Width = 100
    Height = 100
    object A: TvgLayout
      Align = vaTop
      Height = 10
      Visible = False
    end
    object B: TvgLayout
      Align = vaTop
      Height = 10
    end
  end)");
  ExpectRect(Get<TvgObject>(*scene, "B"), {0, 0, 100, 10});
  Get<TvgObject>(*scene, "A").SetVisible(true);
  EXPECT_TRUE(scene->NeedsLayout());
  scene->Layout();
  EXPECT_FALSE(scene->NeedsLayout());
  ExpectRect(Get<TvgObject>(*scene, "B"), {0, 10, 100, 20});
}

TEST(TvgObjectTest, AlignedChildrenFollowTheParentsSizeAndFreeOnesKeepTheirOwn) {
  auto scene = LoadScene(R"(object S: TvgScene
    Width = 100
    Height = 100
    object P: TvgLayout
      Position.X = 5
      Position.Y = 5
      Width = 50
      Height = 50
      object Bar: TvgLayout
        Align = vaTop
        Height = 10
      end
      object Free: TvgLayout
        Position.X = 12
        Position.Y = 13
        Width = 20
        Height = 21
      end
    end
  end)");
  TvgObject& parent = Get<TvgObject>(*scene, "P");
  parent.SetWidth(80);
  parent.SetPosition({10, 10});
  scene->Layout();
  ExpectRect(Get<TvgObject>(*scene, "Bar"), {10, 10, 90, 20});
  ExpectRect(Get<TvgObject>(*scene, "Free"), {22, 23, 42, 44});
}

TEST(TvgObjectTest, AParentTooSmallGivesItsAlignedChildrenNoNegativeSize) {
  auto scene = LoadScene(R"(object S: TvgScene
    Width = 30
    Height = 30
    object T: TvgLayout
      Align = vaTop
      Height = 50
    end
    object C: TvgLayout
      Align = vaClient
      Padding.Left = 40
    end
  end)");
  const TRectF client = Get<TvgObject>(*scene, "C").SceneRect();
  EXPECT_GE(client.Width(), 0);
  EXPECT_GE(client.Height(), 0);
}

// The welcome page of the main window, nested as the window's layout nests it.
constexpr const char* kWelcomePage = R"(object S: TvgScene
  Width = 559
  Height = 277
  object Layout1: TvgLayout
    Width = 559
    Height = 277
    ClipChildren = True
    object GroupBoxWelcome: TvgGroupBox
      Align = vaClient
      Padding.Left = 6
      Padding.Top = 6
      Padding.Right = 6
      Padding.Bottom = 6
      object Layout3: TvgLayout
        Align = vaClient
        Padding.Left = 16
        Padding.Top = 32
        Padding.Right = 16
        Padding.Bottom = 16
        object Image1: TvgImage
          Align = vaLeft
          Width = 168
        end
        object Layout4: TvgLayout
          Align = vaClient
          Padding.Left = 12
          object TextWelcomeHead: TvgText
            Align = vaTop
            Height = 24
          end
          object TextWelcomeDb01: TvgText
            Align = vaTop
            Height = 19
          end
          object TextWelcomeDb02: TvgText
            Align = vaTop
            Height = 19
          end
          object TextWelcomeDb03: TvgText
            Align = vaTop
            Height = 19
          end
          object TextWelcomeFoot01: TvgText
            Align = vaTop
            Height = 20
            Padding.Top = 6
          end
          object TextWelcomeFoot02: TvgText
            Align = vaTop
            Height = 43
            Padding.Top = 6
          end
        end
      end
    end
  end
end)";

TEST(TvgObjectTest, WelcomePageNestsToItsPlaces) {
  auto scene = LoadScene(kWelcomePage);
  ExpectRect(Get<TvgObject>(*scene, "GroupBoxWelcome"), {6, 6, 553, 271});
  ExpectRect(Get<TvgObject>(*scene, "Image1"), {22, 38, 190, 255});
  ExpectRect(Get<TvgObject>(*scene, "TextWelcomeHead"), {202, 38, 537, 62});
  ExpectRect(Get<TvgObject>(*scene, "TextWelcomeDb02"), {202, 81, 537, 100});
  ExpectRect(Get<TvgObject>(*scene, "TextWelcomeFoot01"), {202, 125, 537, 145});
  ExpectRect(Get<TvgObject>(*scene, "TextWelcomeFoot02"), {202, 151, 537, 194});

  Get<TvgText>(*scene, "TextWelcomeDb02").SetVisible(false);
  Get<TvgText>(*scene, "TextWelcomeDb03").SetVisible(false);
  scene->Layout();
  ExpectRect(Get<TvgObject>(*scene, "TextWelcomeFoot01"), {202, 87, 537, 107});
}

TEST(TvgObjectTest, FindIsDepthFirstWithoutRegardToCaseAndIncludesItself) {
  TvgLayout root;
  root.SetName("Root");
  TvgObject& first = root.AddChild(std::make_unique<TvgLayout>());
  TvgObject& deep = first.AddChild(std::make_unique<TvgText>());
  deep.SetName("Twin");
  root.AddChild(std::make_unique<TvgText>()).SetName("Twin");
  EXPECT_EQ(root.Find("ROOT"), &root);
  EXPECT_EQ(root.Find("twin"), &deep);
  EXPECT_EQ(root.Find("Missing"), nullptr);
  // Unnamed objects are not found by an empty name.
  EXPECT_EQ(root.Find(""), nullptr);
  EXPECT_EQ(deep.Parent(), &first);
}

TEST(TvgObjectTest, DetachedObjectsHaveNoSceneAndChangeWithoutOne) {
  TvgText text;
  EXPECT_EQ(text.Scene(), nullptr);
  text.SetText("x");
  text.SetHeight(-5);
  EXPECT_FLOAT_EQ(text.Height(), 0);
  text.SetOpacity(3);
  EXPECT_FLOAT_EQ(text.Opacity(), 1);
}

TEST(TvgObjectTest, ShownAndEnabledOnScreenNeedEveryAncestor) {
  auto scene = LoadScene(kWelcomePage);
  TvgObject& text = Get<TvgObject>(*scene, "TextWelcomeHead");
  EXPECT_TRUE(text.ShownOnScreen());
  EXPECT_EQ(text.Scene(), scene.get());
  Get<TvgObject>(*scene, "Layout3").SetEnabled(false);
  Get<TvgObject>(*scene, "Layout1").SetVisible(false);
  EXPECT_TRUE(text.Visible());
  EXPECT_FALSE(text.ShownOnScreen());
  EXPECT_FALSE(text.EnabledOnScreen());
  EXPECT_TRUE(Get<TvgObject>(*scene, "GroupBoxWelcome").EnabledOnScreen());
}

TEST(TvgObjectTest, ChangesOfLookDoNotAskForALayout) {
  auto scene = LoadScene(kWelcomePage);
  TvgText& text = Get<TvgText>(*scene, "TextWelcomeHead");
  text.SetText("Witamy");
  text.SetTextColor(kColorWarningRed);
  text.SetOpacity(0.5f);
  EXPECT_FALSE(scene->NeedsLayout());
  EXPECT_TRUE(scene->NeedsPaint());
  text.SetHeight(30);
  EXPECT_TRUE(scene->NeedsLayout());
}

}  // namespace
}  // namespace dbinst
