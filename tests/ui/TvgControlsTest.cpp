#include "ui/TvgControls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/SceneForms.h"

namespace dbinst {
namespace {

using test::Click;
using test::Get;
using test::LoadScene;

// Three radio buttons of one group, one of another group beside them, and one under another
// parent with the same group name.
constexpr const char* kChoice = R"(object S: TvgScene
  Width = 300
  Height = 200
  object Layout5: TvgLayout
    Align = vaClient
    object One: TvgRadioButton
      Align = vaTop
      Height = 20
      IsChecked = True
      OnChange = Change
    end
    object Two: TvgRadioButton
      Align = vaTop
      Height = 20
      OnChange = Change
    end
    object Three: TvgRadioButton
      Align = vaTop
      Height = 20
      OnChange = Change
    end
    object Other: TvgRadioButton
      Align = vaTop
      Height = 20
      IsChecked = True
      GroupName = 'other'
      OnChange = Change
    end
  end
  object Elsewhere: TvgLayout
    Align = vaBottom
    Height = 20
    object Far: TvgRadioButton
      Align = vaClient
      IsChecked = True
      OnChange = Change
    end
  end
end)";

class TvgControlsTest : public ::testing::Test {
 protected:
  TvgControlsTest()
      : scene_(LoadScene(kChoice, {{"Change", [this](TvgObject& sender) {
                                      auto& radio = static_cast<TvgRadioButton&>(sender);
                                      changes_.push_back(sender.Name() +
                                                         (radio.IsChecked() ? "+" : "-"));
                                    }}})) {}

  TvgRadioButton& Radio(std::string_view name) { return Get<TvgRadioButton>(*scene_, name); }

  std::unique_ptr<TvgScene> scene_;
  std::vector<std::string> changes_;
};

TEST_F(TvgControlsTest, LoadingCheckedButtonsRaisesNoChange) {
  EXPECT_TRUE(Radio("One").IsChecked());
  EXPECT_TRUE(changes_.empty());
}

TEST_F(TvgControlsTest, ClickChecksAndUnchecksTheRestOfTheGroupOnlyNewlyCheckedLast) {
  Click(*scene_, Radio("Two"));
  EXPECT_EQ(changes_, (std::vector<std::string>{"One-", "Two+"}));
  EXPECT_FALSE(Radio("One").IsChecked());
  EXPECT_TRUE(Radio("Two").IsChecked());
  EXPECT_TRUE(Radio("Other").IsChecked());
  EXPECT_TRUE(Radio("Far").IsChecked());
  EXPECT_EQ(scene_->ActiveControl(), &Radio("Two"));
}

TEST_F(TvgControlsTest, ClickOnTheCheckedButtonChangesNothing) {
  Click(*scene_, Radio("One"));
  EXPECT_TRUE(changes_.empty());
  EXPECT_TRUE(Radio("One").IsChecked());
}

TEST_F(TvgControlsTest, DisabledRadioButtonIgnoresClicksAndKeys) {
  Radio("Two").SetEnabled(false);
  Click(*scene_, Radio("Two"));
  EXPECT_FALSE(Radio("Two").KeyDown(EKey::Space));
  EXPECT_TRUE(changes_.empty());
}

TEST_F(TvgControlsTest, SettingFromTheProgramRaisesChangeForEachButtonThatChanged) {
  Radio("Three").SetIsChecked(true);
  Radio("Three").SetIsChecked(false);
  Radio("Three").SetIsChecked(false);
  EXPECT_EQ(changes_, (std::vector<std::string>{"One-", "Three+", "Three-"}));
}

TEST_F(TvgControlsTest, ArrowsMoveTheCheckAndTheFocusWithinTheGroupSkippingDisabled) {
  scene_->SetActiveControl(&Radio("One"));
  Radio("Two").SetEnabled(false);
  scene_->KeyDown(EKey::Down);
  EXPECT_TRUE(Radio("Three").IsChecked());
  EXPECT_EQ(scene_->ActiveControl(), &Radio("Three"));
  scene_->KeyDown(EKey::Right);  // wraps around, and the other group is not part of it
  EXPECT_TRUE(Radio("One").IsChecked());
  scene_->KeyDown(EKey::Up);
  EXPECT_TRUE(Radio("Three").IsChecked());
  EXPECT_EQ(changes_,
            (std::vector<std::string>{"One-", "Three+", "Three-", "One+", "One-", "Three+"}));
  EXPECT_TRUE(Radio("Other").IsChecked());
}

TEST_F(TvgControlsTest, SpaceChecksTheFocusedRadioButton) {
  scene_->SetActiveControl(&Radio("Three"));
  scene_->KeyDown(EKey::Space);
  EXPECT_TRUE(Radio("Three").IsChecked());
  EXPECT_FALSE(Radio("One").IsChecked());
}

TEST(TvgButtonTest, KeysClickOnlyAShownEnabledButton) {
  auto scene = LoadScene(R"(object S: TvgScene
    object B: TvgButton
    end
  end)");
  auto& button = Get<TvgButton>(*scene, "B");
  int clicks = 0;
  button.OnClick = [&](TvgObject&) { ++clicks; };
  EXPECT_TRUE(button.KeyDown(EKey::Space));
  EXPECT_FALSE(button.KeyDown(EKey::Up));
  button.SetEnabled(false);
  EXPECT_FALSE(button.KeyDown(EKey::Space));
  button.SetEnabled(true);
  button.SetVisible(false);
  EXPECT_FALSE(button.KeyDown(EKey::Enter));
  EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace dbinst
