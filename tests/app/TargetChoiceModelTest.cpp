#include "app/TargetChoiceModel.h"

#include <gtest/gtest.h>

namespace dbinst {
namespace {

const TCadAppInstalled kOrvane{EProductLine::Orvane, "C:\\Orvane 2\\"};
const TCadAppInstalled kSelka{EProductLine::OrvaneSelka, "C:\\Selka\\"};
const TCadAppInstalled kKestrio{EProductLine::Kestrio, "C:\\Kestrio 6\\"};
const std::string kPlaceholder = "Proszę wybrać katalog";

TEST(TargetChoiceModelTest, TheWaysOfferedFollowTheNumberOfDetectedPrograms) {
  const TTargetChoiceModel none({}, kPlaceholder);
  EXPECT_FALSE(none.Offers(ETargetChoice::MainProgram));
  EXPECT_FALSE(none.Offers(ETargetChoice::OtherProgram));
  EXPECT_TRUE(none.Offers(ETargetChoice::ManualFolder));
  const TTargetChoiceModel one({kOrvane}, kPlaceholder);
  EXPECT_TRUE(one.Offers(ETargetChoice::MainProgram));
  EXPECT_FALSE(one.Offers(ETargetChoice::OtherProgram));
  EXPECT_TRUE(
      TTargetChoiceModel({kOrvane, kSelka}, kPlaceholder).Offers(ETargetChoice::OtherProgram));
}

TEST(TargetChoiceModelTest, MainAndTreeChoicesGiveTheirPrograms) {
  TTargetChoiceModel model({kOrvane, kSelka, kKestrio}, kPlaceholder);
  EXPECT_EQ(model.ChosenTarget(), TCadAppInstalled{}) << "nothing chosen yet";
  model.Choose(ETargetChoice::MainProgram);
  EXPECT_EQ(model.ChosenTarget(), kOrvane);
  model.Choose(ETargetChoice::OtherProgram);
  EXPECT_EQ(model.ChosenTarget(), TCadAppInstalled{}) << "no item checked";
  model.CheckOtherProgram(kKestrio);
  EXPECT_EQ(model.ChosenTarget(), kKestrio);
  model.CheckOtherProgram(TCadAppInstalled{});
  EXPECT_EQ(model.ChosenTarget(), TCadAppInstalled{}) << "an item of no program";
}

TEST(TargetChoiceModelTest, AWayThatIsNotOfferedGivesAnEmptyTarget) {
  TTargetChoiceModel model({kOrvane}, kPlaceholder);
  model.CheckOtherProgram(kSelka);
  model.Choose(ETargetChoice::OtherProgram);
  EXPECT_FALSE(model.IsChosen(ETargetChoice::OtherProgram));
  EXPECT_EQ(model.ChosenTarget(), TCadAppInstalled{});
}

TEST(TargetChoiceModelTest, AHandChosenFolderGivesItsProgramOrItselfWhenNotRecognised) {
  TTargetChoiceModel model({kOrvane}, kPlaceholder);
  model.Choose(ETargetChoice::ManualFolder);
  EXPECT_FALSE(model.ManualFolderChosen());
  EXPECT_EQ(model.ManualPathText(), kPlaceholder);
  EXPECT_EQ(model.ManualState(), EManualFolderState::NotChosen);
  EXPECT_EQ(model.ChosenTarget(), TCadAppInstalled{}) << "the empty program, nothing recognised";

  // A browser cancelled at once leaves the placeholder, which is no folder of a local drive.
  model.RefuseManualFolder();
  EXPECT_EQ(model.ChosenTarget(), (TCadAppInstalled{EProductLine::None, kPlaceholder + "\\"}));

  model.ChooseManualFolder("C:\\Velmora\\Orvane 2\\");
  model.RecogniseManualFolder({EProductLine::Orvane, "C:\\Velmora\\Orvane 2\\"});
  EXPECT_TRUE(model.ManualFolderChosen());
  EXPECT_EQ(model.ChosenTarget(), model.ManualApp());

  // An unrecognised folder goes as it is, yet the program found before is remembered.
  model.ChooseManualFolder("D:\\Empty\\");
  model.RefuseManualFolder();
  EXPECT_EQ(model.ChosenTarget(), (TCadAppInstalled{EProductLine::None, "D:\\Empty\\"}));
  EXPECT_EQ(model.ManualApp().ProductLine, EProductLine::Orvane);
}

}  // namespace
}  // namespace dbinst
