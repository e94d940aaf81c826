// Runs without a person, as an administrator's script makes them: -s, /path:, /log:, /result:,
// /list and /hostwait:, with the built installer as a process on a real prefix.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "tests/app/JsonValue.h"
#include "tests/app/WizardWorld.h"
#include "tests/support/ElfFiles.h"
#include "tests/support/RunProcess.h"
#include "tests/support/SevenZipArchives.h"
#include "tests/support/SleepingProcess.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;
using test::JsonValue;
using test::SlurpFile;

const std::string kManual = "C:\\Velmora\\Orvane 3\\";

// Every file below a host folder and its bytes.
std::map<std::string, std::string> TreeOf(const fs::path& root) {
  std::map<std::string, std::string> tree;
  if (!fs::exists(root)) return tree;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string relative = fs::relative(entry.path(), root).generic_string();
    tree[relative] = entry.is_directory() ? "<folder>" : SlurpFile(entry.path());
  }
  return tree;
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

class UnattendedTest : public ::testing::Test {
 protected:
  void Build(int packages = 2) {
    world.AddPrograms(3);
    world.Builder()
        .AddProgram("OV", kManual)
        .ExecutableVersion("2.2.0.0")
        .LibraryVersions("6.2.0.15", "2.1.0.0");
    world.AddTilePackages(packages);
    world.Build();
  }
  test::ProcessResult Silent(std::vector<std::string> arguments,
                             std::vector<std::string> environment = {}) {
    arguments.insert(arguments.begin(), "-s");
    environment.insert(environment.end(), {"WINEPREFIX=" + world.Prefix(), "DBINST_HEADLESS=1",
                                           "DISPLAY=", "WAYLAND_DISPLAY="});
    return test::RunProcess(world.Installer(), arguments, environment);
  }
  JsonValue Result() const { return JsonValue::Parse(SlurpFile(ResultFile())); }
  std::string ResultFile() const { return (world.Root() / "result.json").string(); }
  fs::path Host(const std::string& windowsPath) const { return world.HostPath(windowsPath); }
  std::map<std::string, std::string> Programs() const {
    return TreeOf(Host("C:\\Program Files (x86)\\Velmora"));
  }

  test::WizardWorld world;
};

TEST_F(UnattendedTest, ASilentRunInstallsIntoThePreselectedProgramAsTheWizardDoes) {
  Build();
  // The same installation through the wizard, on a copy of the prefix made before either.
  const fs::path twin = world.Root() / "twin";
  fs::copy(world.Prefix(), twin, fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  const auto silent = Silent({"/result:" + ResultFile()});
  ASSERT_EQ(silent.exitCode, 0) << silent.err;
  EXPECT_EQ(silent.err.find('\r'), std::string::npos) << "no progress line on a pipe";
  auto wizard = std::make_unique<test::InstallerSession>(world.Installer(), twin.string());
  wizard->Do("click ButtonMkay");
  wizard->Do("click ButtonMkay");
  wizard->Write("click ButtonMkay\n");
  EXPECT_EQ(wizard->Finish(), 0);
  EXPECT_EQ(Programs(), TreeOf(twin / "drive_c/Program Files (x86)/Velmora"));
  EXPECT_TRUE(fs::exists(Host(test::kOrvane + "Plytki\\Tiles2.mdb")));

  const JsonValue result = Result();
  EXPECT_EQ(result["target"]["folder"].str(), test::kOrvane);
  EXPECT_EQ(result["target"]["line"].number(), 1);
  EXPECT_EQ(result["exitCode"].number(), 0);
  EXPECT_EQ(result["error"].str(), "");
  EXPECT_GE(result["seconds"].number(), 0);
  ASSERT_EQ(result["databases"].size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    const JsonValue& database = result["databases"][i];
    EXPECT_EQ(database["name"].str(), "Tiles " + std::to_string(i + 1));
    EXPECT_EQ(database["kind"].str(), "TILES");
    EXPECT_EQ(database["outcome"].str(), "installed");
    EXPECT_EQ(database["reason"].str(), "");
    EXPECT_GT(database["bytes"].number(), 1000);
  }
  EXPECT_FALSE(fs::exists(ResultFile() + ".new"));
}

TEST_F(UnattendedTest, OnATerminalTheProgressIsOneLineRewrittenInPlace) {
  Build(1);
  const std::string command = "WINEPREFIX='" + world.Prefix() + "' DBINST_HEADLESS=1 DISPLAY= '" +
                              world.Installer() + "' -s";
  // script gives the installer a terminal of its own and copies what it writes there.
  const auto run = test::RunProcess("/usr/bin/script", {"-qfec", command, "/dev/null"}, {});
  EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
  EXPECT_NE(run.out.find("\r100% "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Installation of Tiles 1 database"), std::string::npos) << run.out;
}

TEST_F(UnattendedTest, APathFolderTakesTheDatabasesAndOverwritesWithoutAsking) {
  Build(1);
  world.PlaceInstalledTiles(kManual, 1);
  const auto result = Silent({"/PATH:  " + kManual.substr(0, kManual.size() - 1) + "  "});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(fs::exists(Host(kManual + "Plytki\\Tiles1.mdb")));
  EXPECT_NE(SlurpFile(Host(kManual + "Plytki\\Tiles1.ini")).find("2011-5-12"), std::string::npos)
      << "the copy there was replaced by the one carried";
  EXPECT_FALSE(fs::exists(Host(test::kOrvane + "Plytki\\Tiles1.mdb")));
}

TEST_F(UnattendedTest, APathNoPersonCouldChooseEndsWithCode3AndWritesNothing) {
  world.AddOpticalDrive();
  Build(1);
  const auto before = Programs();
  for (const std::string& path :
       {std::string("Velmora\\Orvane 3"), std::string("E:\\Data"),
        std::string("\\\\server\\share\\Orvane"), std::string("Proszę wybrać katalog")}) {
    const auto result = Silent({"/path:" + path, "/result:" + ResultFile()});
    EXPECT_EQ(result.exitCode, 3) << path;
    EXPECT_NE(result.err.find("No folder to install into"), std::string::npos) << result.err;
    EXPECT_EQ(Programs(), before) << path;
    EXPECT_EQ(Result()["target"].kind(), JsonValue::Kind::Null) << path;
    EXPECT_EQ(Result()["databases"][0]["outcome"].str(), "skipped");
  }
}

TEST_F(UnattendedTest, AFailedDatabaseEndsWithCode4AndTheResultNamesItsReason) {
  world.AddPrograms(1);
  world.AddTilePackages(1);
  world.AddPackage("Lamps",
                   "[info]\r\nBAZA=Lamps\r\n[INSTALL]\r\nTYPE=INTERIOR\r\nTARGETNAME=Lamps\r\n",
                   {{"lamp.txt", "lamp"}});
  world.Build();
  fs::remove_all(Host(test::kOrvane + "Plytki"));
  std::ofstream(Host(test::kOrvane + "Plytki")) << "in the way";
  const auto run = Silent({"/result:" + ResultFile()});
  EXPECT_EQ(run.exitCode, 4) << run.err;
  const JsonValue result = Result();
  EXPECT_EQ(result["exitCode"].number(), 4);
  EXPECT_EQ(result["databases"][0]["name"].str(), "Tiles 1");
  EXPECT_EQ(result["databases"][0]["outcome"].str(), "failed");
  EXPECT_EQ(result["databases"][0]["reason"].str(), "write-protected");
  EXPECT_NE(result["databases"][0]["detail"].str(), "");
  EXPECT_EQ(result["databases"][1]["outcome"].str(), "installed");
  EXPECT_TRUE(fs::exists(Host(test::kOrvane + "dodatki\\Lamps\\lamp.txt")));
}

TEST_F(UnattendedTest, TheLogFileHoldsWhatTheLogCommandAnswers) {
  Build(1);
  const fs::path file = world.Root() / "wizard.log";
  auto wizard = world.Start({}, {"/log:" + file.string()});
  wizard->Do("click ButtonMkay");
  wizard->Do("click ButtonMkay");
  const std::vector<std::string> answered = wizard->Log();
  wizard->Write("click ButtonMkay\n");
  EXPECT_EQ(wizard->Finish(), 0);
  EXPECT_EQ(LinesOf(SlurpFile(file)), answered);
  EXPECT_EQ(answered[0], "Parameter 1: /log:" + file.string());

  const auto silent = Silent({"/log:" + (world.Root() / "silent.log").string()});
  EXPECT_EQ(silent.exitCode, 0);
  EXPECT_NE(SlurpFile(world.Root() / "silent.log").find("Parameter 1: -s\r\n"), std::string::npos);
  const auto unwritable = Silent({"/log:/proc/no/such/folder/x.log"});
  EXPECT_EQ(unwritable.exitCode, 0) << "a log that cannot be written changes no exit code";
  EXPECT_NE(unwritable.err.find("The log cannot be written"), std::string::npos);
}

TEST_F(UnattendedTest, TheListTellsWhatWouldGoWhereAndWritesNothing) {
  Build(2);
  world.PlaceInstalledTiles(test::kOrvane, 2);
  const std::string userRegistry = SlurpFile(fs::path(world.Prefix()) / "user.reg");
  const auto run =
      test::RunProcess(world.Installer(), {"/list"}, {"WINEPREFIX=" + world.Prefix(), "DISPLAY="});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const JsonValue list = JsonValue::Parse(run.out);
  ASSERT_EQ(list["databases"].size(), 2u) << run.out;
  EXPECT_EQ(list["databases"][0]["kind"].str(), "TILES");
  EXPECT_EQ(list["databases"][0]["name"].str(), "Tiles 1");
  EXPECT_EQ(list["databases"][0]["targetName"].str(), "Tiles1.mdb");
  EXPECT_EQ(list["databases"][0]["date"].str(), "2011-05-12");
  EXPECT_GT(list["databases"][0]["archiveBytes"].number(), 0);
  ASSERT_EQ(list["programs"].size(), 3u);
  EXPECT_EQ(list["programs"][0]["folder"].str(), test::kOrvane);
  EXPECT_EQ(list["programs"][0]["version"].str(), "2.1");
  EXPECT_EQ(list["target"]["folder"].str(), test::kOrvane);
  EXPECT_EQ(list["target"]["databases"][0]["folder"].str(), test::kOrvane + "Plytki\\");
  EXPECT_FALSE(list["target"]["databases"][0]["replaces"].boolean());
  EXPECT_TRUE(list["target"]["databases"][1]["replaces"].boolean());
  EXPECT_EQ(SlurpFile(fs::path(world.Prefix()) / "user.reg"), userRegistry);
  const fs::path temp = Host("C:\\users\\" + world.Builder().User() + "\\Temp");
  EXPECT_TRUE(fs::is_empty(temp)) << fs::directory_iterator(temp)->path();

  const auto packed =
      test::RunProcess(DBINST_PACK_INSTALLER_PATH, {"--list", world.Installer()}, {});
  ASSERT_EQ(packed.exitCode, 0) << packed.err;
  const JsonValue packedList = JsonValue::Parse(packed.out);
  const JsonValue& carried = packedList["databases"];
  ASSERT_EQ(carried.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    for (const char* key : {"kind", "name", "targetName", "date", "updated"}) {
      EXPECT_EQ(carried[i][key].str(), list["databases"][i][key].str()) << key;
    }
    for (const char* key : {"archiveBytes", "targetBytes"}) {
      EXPECT_EQ(carried[i][key].number(), list["databases"][i][key].number()) << key;
    }
  }
}

TEST_F(UnattendedTest, AnInstallerWithoutDatabasesListsNone) {
  world.AddPrograms(1);
  world.Build();
  const auto run =
      test::RunProcess(world.Installer(), {"/LIST"}, {"WINEPREFIX=" + world.Prefix(), "DISPLAY="});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const JsonValue list = JsonValue::Parse(run.out);
  EXPECT_EQ(list["databases"].size(), 0u);
  // No database, so no program is offered one.
  EXPECT_EQ(list["programs"].size(), 0u);
  EXPECT_EQ(list["target"].kind(), JsonValue::Kind::Null);
  EXPECT_NE(list["problem"].str(), "");
}

// The CAD host program under its Windows name, once the process shows that name.
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

TEST_F(UnattendedTest, HostProgramRunningMakesTheRunWaitThenEndWithItsOwnCode) {
  Build(1);
  const auto before = Programs();
  auto host = StartHostProgram(world.Root());
  const auto start = std::chrono::steady_clock::now();
  const auto result = Silent({"/hostwait:1", "/result:" + ResultFile()});
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(result.exitCode, 5);
  EXPECT_GE(waited, std::chrono::seconds(1));
  EXPECT_NE(result.err.find("icad.exe kept running for 1 s"), std::string::npos) << result.err;
  EXPECT_EQ(Programs(), before);
  EXPECT_EQ(Result()["exitCode"].number(), 5);
}

TEST_F(UnattendedTest, HostProgramEndingWithinTheWaitLetsTheInstallationStart) {
  Build(1);
  auto host = StartHostProgram(world.Root());
  std::thread closer([&host] {
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    host.reset();
  });
  const auto result = Silent({"/hostwait:20"});
  closer.join();
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(fs::exists(Host(test::kOrvane + "Plytki\\Tiles1.mdb")));
}

}  // namespace
}  // namespace dbinst
