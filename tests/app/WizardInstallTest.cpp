#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "tests/app/WizardWorld.h"
#include "tests/support/SleepingProcess.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;
using test::JsonValue;
using test::MainObject;

std::string Text(const JsonValue& dump, const std::string& name) {
  return MainObject(dump, name)["text"].str();
}
bool Visible(const JsonValue& dump, const std::string& name) {
  return MainObject(dump, name)["visible"].boolean();
}

// The host program under its Windows name, once the process shows that name.
std::unique_ptr<test::SleepingProcess> StartHostProgram(const fs::path& folder) {
  const fs::path executable = folder / "icad.exe";
  if (!fs::exists(executable)) fs::copy_file("/bin/sleep", executable);
  auto host = std::make_unique<test::SleepingProcess>(executable.string(),
                                                      "C:\\Program Files\\IntelliCAD\\icad.exe");
  const fs::path cmdline = "/proc/" + std::to_string(host->pid()) + "/cmdline";
  for (int attempt = 0; attempt < 400; ++attempt) {
    std::ifstream in(cmdline);
    std::string first;
    std::getline(in, first, '\0');
    if (first.find("icad.exe") != std::string::npos) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return host;
}

class WizardInstallTest : public ::testing::Test {
 protected:
  // The wizard on the overwrite page of Orvane 2, which already holds the first tile databases.
  std::unique_ptr<test::InstallerSession> StartWithExisting(int carried, int existing,
                                                            bool polish) {
    if (polish) world.Builder().Polish();
    world.AddPrograms(1);
    world.AddTilePackages(carried);
    world.Build();
    for (int number = 1; number <= existing; ++number) {
      world.PlaceInstalledTiles(test::kOrvane, number);
    }
    auto wizard = world.Start();
    wizard->Do("click ButtonMkay");
    wizard->Do("click ButtonMkay");
    return wizard;
  }
  void Quit(test::InstallerSession& wizard) {
    wizard.Do("answer yes");
    wizard.Write("close\n");
    EXPECT_EQ(wizard.Finish(), 2);
  }

  test::WizardWorld world;
};

TEST_F(WizardInstallTest, OneExistingDatabaseIsNamedWithBothDatesInPolish) {
  auto wizard = StartWithExisting(2, 1, true);
  const JsonValue dump = wizard->Dump();
  EXPECT_EQ(MainObject(dump, "TabControlMain")["selected"].str(), "TabItem03VerifyPath");
  EXPECT_EQ(Text(dump, "GroupBoxVerifyPath"), "Potwierdzenie nadpisania");
  EXPECT_EQ(Text(dump, "TextVerifyPathHeader"),
            "W katalogu docelowym znajduje się już baza danych:");
  EXPECT_EQ(Text(dump, "TextVerifyPathDbname01"), " - Baza płytek Tiles 1");
  EXPECT_EQ(Text(dump, "TextVerifyPathDbdates01"),
            "Instalowana: 12.05.2011, istniejąca: 01.11.2011");
  EXPECT_EQ(Text(dump, "TextVerifyPathFoota"), "W przypadku kontynuacji zostanie ona nadpisana.");
  for (const char* hidden : {"TextVerifyPathDbname02", "TextVerifyPathDbdates02",
                             "TextVerifyPathDbname04", "TextVerifyPathDbdates04"}) {
    EXPECT_FALSE(Visible(dump, hidden)) << hidden;
  }
  EXPECT_FALSE(MainObject(dump, "ButtonChoosePathChooseManuallyBrowse")["enabled"].boolean());
  EXPECT_EQ(Text(dump, "ButtonMkay"), "Zainstaluj");
  Quit(*wizard);
}

TEST_F(WizardInstallTest, FourExistingDatabasesFillAllFourPairs) {
  auto wizard = StartWithExisting(6, 4, false);
  const JsonValue dump = wizard->Dump();
  EXPECT_EQ(Text(dump, "TextVerifyPathHeader"),
            "These databases already exist in the target directory:");
  EXPECT_EQ(Text(dump, "TextVerifyPathDbname04"), " - Tiles database Tiles 4");
  EXPECT_TRUE(Visible(dump, "TextVerifyPathDbdates04"));
  EXPECT_EQ(Text(dump, "TextVerifyPathDbdates04"),
            "Being installed: 12.05.2011, existing: 01.11.2011");
  Quit(*wizard);
}

TEST_F(WizardInstallTest, FiveExistingDatabasesShowThreeAndSumUpTheRest) {
  auto wizard = StartWithExisting(6, 5, false);
  const JsonValue dump = wizard->Dump();
  EXPECT_EQ(Text(dump, "TextVerifyPathDbname03"), " - Tiles database Tiles 3");
  EXPECT_EQ(Text(dump, "TextVerifyPathDbname04"), " - And other databases (2)");
  EXPECT_FALSE(Visible(dump, "TextVerifyPathDbdates04"));
  Quit(*wizard);
}

TEST_F(WizardInstallTest, HostProgramDisablesNextWithinAQuarterSecondOnlyOnTheWelcomePage) {
  world.AddPrograms(1);
  world.AddTilePackages(1);
  world.Build();
  auto wizard = world.Start();
  JsonValue dump = wizard->Dump();
  EXPECT_TRUE(MainObject(dump, "ButtonMkay")["enabled"].boolean());
  EXPECT_EQ(MainObject(dump, "TextWelcomeFoot02")["color"].str(), "#FF000000");
  {
    auto host = StartHostProgram(world.Root());
    wizard->Do("wait 250");
    dump = wizard->Dump();
    EXPECT_FALSE(MainObject(dump, "ButtonMkay")["enabled"].boolean());
    EXPECT_EQ(MainObject(dump, "TextWelcomeFoot02")["color"].str(), "#FFC04040");
    EXPECT_EQ(MainObject(dump, "TextWelcomeFoot02")["fontStyle"].str(), "bold");
  }
  wizard->Do("wait 250");
  dump = wizard->Dump();
  EXPECT_TRUE(MainObject(dump, "ButtonMkay")["enabled"].boolean());
  EXPECT_EQ(MainObject(dump, "TextWelcomeFoot02")["color"].str(), "#FF000000");
  EXPECT_EQ(MainObject(dump, "TextWelcomeFoot02")["fontStyle"].str(), "regular");

  wizard->Do("click ButtonMkay");
  auto host = StartHostProgram(world.Root());
  wizard->Do("wait 1000");
  EXPECT_TRUE(wizard->Object("ButtonMkay")["enabled"].boolean());
  Quit(*wizard);
}

TEST_F(WizardInstallTest, HostRunningAtStartDisablesNextFromTheFirstPaint) {
  world.AddPrograms(1);
  world.AddTilePackages(1);
  world.Build();
  auto host = StartHostProgram(world.Root());
  auto wizard = world.Start();
  EXPECT_FALSE(wizard->Object("ButtonMkay")["enabled"].boolean());
  Quit(*wizard);
}

// The free space of the target's drive, as the host file system reports it, in the user's form.
TEST_F(WizardInstallTest, InstallationFillsTheBarsAndShowsFreeSpaceWithTheUsersSeparators) {
  for (const bool polish : {true, false}) {
    test::WizardWorld one;
    if (polish) one.Builder().Polish();
    one.AddPrograms(1);
    one.AddTilePackages(2);
    one.Build();
    auto wizard = one.Start();
    wizard->Do("click ButtonMkay");
    wizard->Do("click ButtonMkay");
    const JsonValue dump = wizard->Dump();
    EXPECT_EQ(MainObject(dump, "TabControlMain")["selected"].str(), "TabItem05Final");
    const JsonValue& bar = MainObject(dump, "ProgressBarInstallMainProcess");
    EXPECT_FLOAT_EQ(static_cast<float>(bar["value"].number()),
                    static_cast<float>(bar["max"].number()));
    const std::string space = Text(dump, "TextInstallDiskSpaceInfo");
    const std::regex pattern =
        polish
            ? std::regex("Ilość wolnej przestrzeni na dysku C: \\d{1,3}(\u00A0\\d{3})*(,\\d)? MB")
            : std::regex("The amount of free disk space C: \\d{1,3}(,\\d{3})*(\\.\\d)? MB");
    EXPECT_TRUE(std::regex_match(space, pattern)) << space;
    EXPECT_TRUE(fs::is_regular_file(one.HostPath(test::kOrvane + "Plytki\\Tiles2.mdb")));
    EXPECT_FALSE(fs::exists(one.HostPath("C:\\users\\user\\Temp\\cad_db_extraction_temp")));
    wizard->Write("click ButtonMkay\n");
    EXPECT_EQ(wizard->Finish(), 0);
  }
}

TEST_F(WizardInstallTest, CancelInTheMiddleOfTheInstallationAsksAndEndsWithCode2) {
  auto wizard = StartWithExisting(7, 1, false);
  // Read while the installation pumps its messages, as a person's clicks would be.
  wizard->Write(
      "click ButtonMkay\nanswer no\nclick ButtonExit\ndump\nanswer yes\nclick ButtonExit\n");
  JsonValue answer;
  std::vector<JsonValue> answers;
  while (wizard->ReadAnswer(answer)) answers.push_back(answer);
  EXPECT_EQ(wizard->Finish(), 2);
  JsonValue dump;
  for (const JsonValue& each : answers) {
    if (each.Has("windows")) dump = each;
  }
  ASSERT_TRUE(dump.Has("windows")) << "no dump was answered during the installation";
  EXPECT_EQ(MainObject(dump, "TabControlMain")["selected"].str(), "TabItem04InstallDbs");
  EXPECT_FALSE(MainObject(dump, "ButtonMkay")["visible"].boolean());
  EXPECT_TRUE(MainObject(dump, "ButtonExit")["enabled"].boolean());
  // Not every database reached the program before the process ended.
  EXPECT_FALSE(fs::exists(world.HostPath(test::kOrvane + "Plytki\\Tiles7.mdb")));
}

TEST_F(WizardInstallTest, FailedInstallationSaysSoAndEndsWithCode4) {
  world.AddPrograms(1);
  world.AddTilePackages(2);
  world.Build();
  // A file where the tiles folder should be: the databases cannot be placed.
  fs::remove_all(world.HostPath(test::kOrvane + "Plytki\\"));
  std::ofstream(world.HostPath(test::kOrvane + "Plytki")) << "in the way";
  auto wizard = world.Start();
  wizard->Do("click ButtonMkay");
  wizard->Do("click ButtonMkay");
  const JsonValue dump = wizard->Dump();
  EXPECT_EQ(MainObject(dump, "TabControlMain")["selected"].str(), "TabItem05Final");
  EXPECT_FALSE(MainObject(dump, "TextFinalMessage")["visible"].boolean());
  EXPECT_FALSE(MainObject(dump, "Image2")["visible"].boolean());
  EXPECT_TRUE(MainObject(dump, "ImageFinalWarning")["visible"].boolean());
  EXPECT_EQ(Text(dump, "TextFinalFailureHead"), "The installation was not completed.");
  EXPECT_NE(Text(dump, "TextFinalFailures").find(" - Tiles 1: write-protected"), std::string::npos)
      << Text(dump, "TextFinalFailures");
  const std::vector<std::string> log = wizard->Log();
  const auto failure = std::find_if(log.begin(), log.end(), [](const std::string& line) {
    return line.find("Tiles 1") != std::string::npos && line.find("failed") != std::string::npos;
  });
  EXPECT_NE(failure, log.end()) << "no log line names the database that failed";
  wizard->Write("click ButtonMkay\n");
  EXPECT_EQ(wizard->Finish(), 4);
}

}  // namespace
}  // namespace dbinst
