#include "ui/TvgScene.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/SceneForms.h"
#include "ui/TvgControls.h"

namespace dbinst {
namespace {

using test::Click;
using test::Get;
using test::LoadScene;

// A panel with two buttons; a text lies over the first, a rectangle over the right half of the
// second; a clipping layout holds a button that reaches out of it.
constexpr const char* kPanel = R"(object S: TvgScene
  Width = 300
  Height = 200
  ActiveControl = First
  object Panel: TvgBackground
    Align = vaClient
    object First: TvgButton
      Position.X = 10
      Position.Y = 10
      Width = 100
      Height = 20
      OnClick = FirstClick
      object Caption: TvgText
        Align = vaClient
      end
    end
    object Second: TvgButton
      Position.X = 10
      Position.Y = 40
      Width = 100
      Height = 20
      Default = True
      OnClick = SecondClick
    end
    object Cover: TvgRectangle
      Position.X = 60
      Position.Y = 40
      Width = 50
      Height = 20
    end
    object Clip: TvgLayout
      Position.X = 200
      Position.Y = 10
      Width = 50
      Height = 50
      ClipChildren = True
      object Outside: TvgButton
        Position.X = 20
        Position.Y = 20
        Width = 60
        Height = 20
      end
    end
    object Third: TvgButton
      Position.X = 10
      Position.Y = 70
      Width = 100
      Height = 20
      OnClick = ThirdClick
    end
  end
end)";

class TvgSceneTest : public ::testing::Test {
 protected:
  TvgSceneTest()
      : scene_(LoadScene(kPanel, {{"FirstClick", Recorder("First")},
                                  {"SecondClick", Recorder("Second")},
                                  {"ThirdClick", Recorder("Third")}})) {}

  TNotifyEvent Recorder(std::string what) {
    return [this, what](TvgObject& sender) { clicks_.push_back(what + ":" + sender.Name()); };
  }
  TvgButton& Button(std::string_view name) { return Get<TvgButton>(*scene_, name); }

  std::unique_ptr<TvgScene> scene_;
  std::vector<std::string> clicks_;
};

TEST_F(TvgSceneTest, ObjectAtFindsTheTopmostObjectThatTakesHits) {
  EXPECT_EQ(scene_->ObjectAt({20, 20}), &Button("First"));  // the text over it takes no hits
  EXPECT_EQ(scene_->ObjectAt({20, 50}), &Button("Second"));
  EXPECT_EQ(scene_->ObjectAt({80, 50}), scene_->Find("Cover"));
  EXPECT_EQ(scene_->ObjectAt({150, 150}), scene_->Find("Panel"));
  EXPECT_EQ(scene_->ObjectAt({500, 500}), nullptr);
}

TEST_F(TvgSceneTest, ObjectAtRespectsClippingAndSkipsHiddenSubtrees) {
  EXPECT_EQ(scene_->ObjectAt({230, 35}), &Button("Outside"));
  EXPECT_EQ(scene_->ObjectAt({270, 35}), scene_->Find("Panel"));  // clipped away
  scene_->Find("Clip")->SetVisible(false);
  EXPECT_EQ(scene_->ObjectAt({230, 35}), scene_->Find("Panel"));
  scene_->Find("Panel")->SetVisible(false);
  EXPECT_EQ(scene_->ObjectAt({20, 20}), nullptr);
}

TEST_F(TvgSceneTest, ClickIsAPressAndAReleaseOnTheSameObject) {
  Click(*scene_, Button("First"));
  EXPECT_EQ(clicks_, (std::vector<std::string>{"First:First"}));

  clicks_.clear();
  scene_->MouseDown({20, 20});
  scene_->MouseMove({150, 150});
  EXPECT_EQ(scene_->Pressed(), &Button("First"));
  scene_->MouseUp({20, 80});  // released over another button
  scene_->MouseDown({150, 150});
  scene_->MouseUp({20, 20});  // pressed elsewhere
  EXPECT_TRUE(clicks_.empty());
  EXPECT_FALSE(Button("First").IsPressed());

  scene_->MouseDown({20, 20});
  EXPECT_TRUE(Button("First").IsPressed());
  scene_->MouseMove({150, 150});
  scene_->MouseUp({25, 22});  // back inside
  EXPECT_EQ(clicks_, (std::vector<std::string>{"First:First"}));
}

TEST_F(TvgSceneTest, DisabledOrHiddenButtonsDoNotClick) {
  Button("First").SetEnabled(false);
  Click(*scene_, Button("First"));
  Button("First").SetEnabled(true);
  scene_->MouseDown({20, 20});
  Button("First").SetEnabled(false);
  scene_->MouseUp({20, 20});
  Button("First").SetEnabled(true);
  scene_->MouseDown({20, 20});
  Button("First").SetVisible(false);
  scene_->MouseUp({20, 20});
  Button("Third").Parent()->SetEnabled(false);
  Click(*scene_, Button("Third"));
  EXPECT_TRUE(clicks_.empty());
}

TEST_F(TvgSceneTest, ACoveredPartOfAButtonDoesNotClickIt) {
  scene_->MouseDown({80, 50});
  scene_->MouseUp({80, 50});
  EXPECT_TRUE(clicks_.empty());
}

TEST_F(TvgSceneTest, APressFocusesTheControlUnderIt) {
  EXPECT_EQ(scene_->ActiveControl(), &Button("First"));
  Click(*scene_, Button("Third"));
  EXPECT_EQ(scene_->ActiveControl(), &Button("Third"));
}

TEST_F(TvgSceneTest, TabMovesTheFocusOverShownEnabledControlsInTreeOrder) {
  // First, Second, Outside, Third; Outside is clipped but still shown, so it takes the focus.
  scene_->KeyDown(EKey::Tab);
  EXPECT_EQ(scene_->ActiveControl(), &Button("Second"));
  Button("Outside").SetEnabled(false);
  scene_->KeyDown(EKey::Tab);
  EXPECT_EQ(scene_->ActiveControl(), &Button("Third"));
  scene_->KeyDown(EKey::Tab);
  EXPECT_EQ(scene_->ActiveControl(), &Button("First"));
  scene_->KeyDown(EKey::ShiftTab);
  EXPECT_EQ(scene_->ActiveControl(), &Button("Third"));
  Button("Third").SetVisible(false);
  scene_->KeyDown(EKey::Tab);
  EXPECT_EQ(scene_->ActiveControl(), &Button("First"));
}

TEST_F(TvgSceneTest, EnterPressesTheFocusedButtonElseTheDefaultOne) {
  scene_->KeyDown(EKey::Enter);
  scene_->KeyDown(EKey::Space);
  scene_->SetActiveControl(nullptr);
  scene_->KeyDown(EKey::Enter);
  scene_->KeyDown(EKey::Space);  // nothing has the focus
  scene_->SetActiveControl(&Button("Third"));
  Button("Third").SetEnabled(false);
  scene_->KeyDown(EKey::Enter);  // a disabled focused button leaves Enter to the default one
  EXPECT_EQ(clicks_, (std::vector<std::string>{"First:First", "First:First", "Second:Second",
                                               "Second:Second"}));
}

TEST_F(TvgSceneTest, EnterDoesNothingWhenTheDefaultButtonCannotBePressed) {
  scene_->SetActiveControl(nullptr);
  Button("Second").SetVisible(false);
  EXPECT_FALSE(scene_->KeyDown(EKey::Enter));
  Button("Second").SetVisible(true);
  Button("Second").SetEnabled(false);
  EXPECT_FALSE(scene_->KeyDown(EKey::Enter));
  EXPECT_TRUE(clicks_.empty());
}

TEST_F(TvgSceneTest, AHandlerMayReplaceItselfWhileItRuns) {
  TvgButton& first = Button("First");
  int calls = 0;
  first.OnClick = [&](TvgObject& sender) {
    ++calls;
    first.OnClick = nullptr;
    EXPECT_EQ(sender.Name(), "First");
  };
  Click(*scene_, first);
  Click(*scene_, first);
  EXPECT_EQ(calls, 1);
}

TEST_F(TvgSceneTest, MovesTrackTheObjectUnderTheMouse) {
  scene_->MouseMove({20, 20});
  EXPECT_EQ(scene_->Hovered(), &Button("First"));
  scene_->MouseMove({500, 500});
  EXPECT_EQ(scene_->Hovered(), nullptr);
}

}  // namespace
}  // namespace dbinst
