#include <gtest/gtest.h>

#include <filesystem>

#include "tests/app/WizardWorld.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;
using test::JsonValue;
using test::MainObject;

bool Flag(const JsonValue& dump, const std::string& name, const std::string& flag) {
  return MainObject(dump, name)[flag].boolean();
}
std::string Field(const JsonValue& dump, const std::string& name, const std::string& field) {
  return MainObject(dump, name)[field].str();
}

class WizardChoiceTest : public ::testing::Test {
 protected:
  std::unique_ptr<test::InstallerSession> StartOnChoicePage(int programs) {
    world.AddPrograms(programs);
    world.AddTilePackages(1);
    world.AddOpticalDrive();
    if (programs == 0) world.Builder().AddProgram("OV", "C:\\Unregistered Orvane\\");
    world.Build();
    auto wizard = world.Start();
    wizard->Do("click ButtonMkay");
    return wizard;
  }
  void Quit(test::InstallerSession& wizard) {
    wizard.Do("answer yes");
    wizard.Write("click ButtonExit\n");
    EXPECT_EQ(wizard.Finish(), 2);
  }

  test::WizardWorld world;
};

TEST_F(WizardChoiceTest, NoProgramDetectedOffersOnlyTheManualChoiceWithoutOpeningTheBrowser) {
  auto wizard = StartOnChoicePage(0);
  const JsonValue dump = wizard->Dump();
  EXPECT_FALSE(dump["windows"].Has("FormFolderBrowser"));
  EXPECT_EQ(Field(dump, "TabControlMain", "selected"), "TabItem02ChoosePath");
  EXPECT_FALSE(Flag(dump, "RadioButtonChoosePathMainOne", "visible"));
  EXPECT_FALSE(Flag(dump, "RadioButtonChoosePathRemainingOnes", "visible"));
  EXPECT_FALSE(Flag(dump, "TreeViewPaths", "visible"));
  EXPECT_TRUE(Flag(dump, "RadioButtonChoosePathChooseManually", "checked"));
  EXPECT_EQ(Field(dump, "TextChoosePathChooseManuallyPath", "text"), "Please select a directory");
  EXPECT_EQ(Field(dump, "ButtonMkay", "text"), "Install");
  // Nothing chosen yet: the installation must not go to an empty folder.
  EXPECT_FALSE(Flag(dump, "ButtonMkay", "enabled"));
  EXPECT_TRUE(Flag(dump, "ButtonChoosePathChooseManuallyBrowse", "enabled"));

  // The folder check alone recognises a program that no registry entry names.
  wizard->Do("browse C:\\Unregistered Orvane");
  wizard->Do("click ButtonChoosePathChooseManuallyBrowse");
  const JsonValue chosen = wizard->Dump();
  EXPECT_EQ(Field(chosen, "TextChoosePathChooseManuallyPath", "text"), "C:\\Unregistered Orvane\\");
  EXPECT_FALSE(Flag(chosen, "TextChoosePathChooseManuallyWarning", "visible"));
  EXPECT_TRUE(Flag(chosen, "ButtonMkay", "enabled"));
  Quit(*wizard);
}

TEST_F(WizardChoiceTest, OneProgramIsTheCheckedMainChoiceWithoutTree) {
  auto wizard = StartOnChoicePage(1);
  const JsonValue dump = wizard->Dump();
  EXPECT_TRUE(Flag(dump, "RadioButtonChoosePathMainOne", "checked"));
  EXPECT_EQ(Field(dump, "RadioButtonChoosePathMainOne", "text"),
            "Program directory Orvane 2.1 (" + test::kOrvane + ")");
  EXPECT_FALSE(Flag(dump, "RadioButtonChoosePathRemainingOnes", "visible"));
  EXPECT_FALSE(Flag(dump, "TreeViewPaths", "visible"));
  EXPECT_TRUE(Flag(dump, "ButtonMkay", "enabled"));
  EXPECT_EQ(Field(dump, "TextChoosePathChooseManuallyPath", "color"), "#60000000");
  EXPECT_FALSE(Flag(dump, "ButtonChoosePathChooseManuallyBrowse", "enabled"));
  Quit(*wizard);
}

std::vector<bool> Checks(const JsonValue& dump) {
  std::vector<bool> checks;
  const JsonValue& items = MainObject(dump, "TreeViewPaths")["items"];
  for (size_t i = 0; i < items.size(); ++i) checks.push_back(items[i]["checked"].boolean());
  return checks;
}

TEST_F(WizardChoiceTest, ThreeProgramsPutTheOtherTwoInATreeThatActsAsARadioGroup) {
  auto wizard = StartOnChoicePage(3);
  JsonValue dump = wizard->Dump();
  const JsonValue& items = MainObject(dump, "TreeViewPaths")["items"];
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0]["text"].str(), "Orvane Selka 2.0 (" + test::kSelka + ")");
  EXPECT_EQ(items[1]["text"].str(), "Kestrio 6.2 (" + test::kKestrio + ")");
  EXPECT_EQ(Checks(dump), (std::vector<bool>{true, false}));
  EXPECT_FALSE(Flag(dump, "TreeViewPaths", "enabled"));

  wizard->Do("click RadioButtonChoosePathRemainingOnes");
  EXPECT_TRUE(wizard->Object("TreeViewPaths")["enabled"].boolean());
  wizard->Do("tree TreeViewPaths 1");
  EXPECT_EQ(Checks(wizard->Dump()), (std::vector<bool>{false, true}));
  wizard->Do("tree TreeViewPaths 1");
  dump = wizard->Dump();
  EXPECT_EQ(Checks(dump), (std::vector<bool>{false, true}));
  EXPECT_TRUE(MainObject(dump, "TreeViewPaths")["items"][1]["selected"].boolean());

  // Kestrio holds none of the databases: one click installs, straight past the overwrite page.
  wizard->Do("click ButtonMkay");
  dump = wizard->Dump();
  EXPECT_EQ(Field(dump, "TabControlMain", "selected"), "TabItem05Final");
  EXPECT_EQ(Field(dump, "TextFinalMessage", "text"), "Installation successfully completed.");
  EXPECT_FALSE(Flag(dump, "ButtonExit", "visible"));
  EXPECT_EQ(Field(dump, "ButtonMkay", "text"), "Finish");
  EXPECT_TRUE(fs::is_regular_file(world.HostPath(test::kKestrio + "Plytki\\Tiles1.mdb")));
  EXPECT_FALSE(fs::exists(world.HostPath(test::kOrvane + "Plytki\\Tiles1.mdb")));
  wizard->Write("click ButtonMkay\n");
  EXPECT_EQ(wizard->Finish(), 0);
}

TEST_F(WizardChoiceTest, ManualChoiceOpensTheBrowserAndRecognisesOnlyProgramsOnLocalDrives) {
  auto wizard = StartOnChoicePage(1);
  wizard->Do("browse cancel");
  wizard->Do("click RadioButtonChoosePathChooseManually");
  JsonValue dump = wizard->Dump();
  EXPECT_EQ(Field(dump, "TextChoosePathChooseManuallyPath", "text"), "Please select a directory");
  EXPECT_FALSE(Flag(dump, "ButtonMkay", "enabled"));
  EXPECT_TRUE(Flag(dump, "TextChoosePathChooseManuallyWarning", "visible"));
  EXPECT_EQ(Field(dump, "TextChoosePathChooseManuallyWarning", "color"), "#FFC04040");
  EXPECT_EQ(Field(dump, "TextChoosePathChooseManuallyPath", "color"), "#FF000000");

  fs::create_directories(world.HostPath("C:\\Empty\\"));
  wizard->Do("browse C:\\Empty");
  wizard->Do("click ButtonChoosePathChooseManuallyBrowse");
  dump = wizard->Dump();
  EXPECT_EQ(Field(dump, "TextChoosePathChooseManuallyPath", "text"), "C:\\Empty\\");
  EXPECT_TRUE(Flag(dump, "TextChoosePathChooseManuallyWarning", "visible"));
  EXPECT_TRUE(Flag(dump, "ButtonMkay", "enabled"));

  wizard->Do("browse " + test::kOrvane);
  wizard->Do("click ButtonChoosePathChooseManuallyBrowse");
  dump = wizard->Dump();
  EXPECT_FALSE(Flag(dump, "TextChoosePathChooseManuallyWarning", "visible"));
  EXPECT_TRUE(Flag(dump, "ButtonMkay", "enabled"));

  wizard->Do("browse E:\\Data");
  wizard->Do("click ButtonChoosePathChooseManuallyBrowse");
  dump = wizard->Dump();
  EXPECT_EQ(Field(dump, "TextChoosePathChooseManuallyPath", "text"), "E:\\Data\\");
  EXPECT_TRUE(Flag(dump, "TextChoosePathChooseManuallyWarning", "visible"));
  EXPECT_FALSE(Flag(dump, "ButtonMkay", "enabled"));

  // Another choice makes the button usable; coming back to the folder off the local drives
  // (no browser this time, as a folder is chosen) refuses it again.
  wizard->Do("click RadioButtonChoosePathMainOne");
  dump = wizard->Dump();
  EXPECT_TRUE(Flag(dump, "ButtonMkay", "enabled"));
  EXPECT_EQ(Field(dump, "TextChoosePathChooseManuallyWarning", "color"), "#60000000");
  wizard->Do("click RadioButtonChoosePathChooseManually");
  EXPECT_FALSE(wizard->Object("ButtonMkay")["enabled"].boolean());
  Quit(*wizard);
}

TEST_F(WizardChoiceTest, BrowserMakesANewFolderInsideTheSelectedOne) {
  world.AddPrograms(1);
  world.AddTilePackages(2);
  world.Build();
  fs::create_directories(world.HostPath("C:\\Empty\\"));
  auto wizard = world.Start();
  wizard->Do("click ButtonMkay");
  wizard->Do("browse C:\\Empty");
  wizard->Do("click RadioButtonChoosePathChooseManually");
  // The click answers once the browser it opens has closed; meanwhile the browser takes commands.
  wizard->Write("click ButtonChoosePathChooseManuallyBrowse\n");
  const JsonValue dump = wizard->Dump();
  ASSERT_TRUE(dump["windows"].Has("FormFolderBrowser")) << "the browser is not shown";
  const JsonValue& browser = dump["windows"]["FormFolderBrowser"];
  EXPECT_EQ(browser["TextCaption"]["text"].str(),
            "Please select a directory of a program, in which databases are to be installed:");
  EXPECT_EQ(browser["ButtonNewFolder"]["text"].str(), "New folder");
  wizard->Do("click ButtonNewFolder");
  wizard->Do("click ButtonNewFolder");
  wizard->Do("click ButtonOk");
  JsonValue browseClick;
  ASSERT_TRUE(wizard->ReadAnswer(browseClick));
  EXPECT_TRUE(browseClick.Has("ok"));
  EXPECT_TRUE(fs::is_directory(world.HostPath("C:\\Empty\\New folder\\")));
  EXPECT_TRUE(fs::is_directory(world.HostPath("C:\\Empty\\New folder\\New folder\\")));
  EXPECT_EQ(wizard->Object("TextChoosePathChooseManuallyPath")["text"].str(),
            "C:\\Empty\\New folder\\New folder\\");
  Quit(*wizard);
}

}  // namespace
}  // namespace dbinst
