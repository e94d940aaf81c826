#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "platform/Registry.h"
#include "platform/RegistryValue.h"
#include "platform/prefix/PrefixRegistry.h"
#include "tests/support/RunProcess.h"
#include "tools/demoprefix/DemoPrefix.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> LogLines(const std::string& out) {
  std::vector<std::string> lines;
  std::istringstream stream(out.substr(std::min(out.size(), out.find("\nLog:\n") + 6)));
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

std::string InstallerFolder() {
  return "Z:" + fs::path(DBINST_INSTALLER_PATH).parent_path().string() + "/";
}

class InstallerRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("dbinst-run-" + std::to_string(::getpid()));
    fs::remove_all(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  void MakeDemo(bool polish) {
    std::string error;
    ASSERT_TRUE(MakeDemoPrefix({folder.string(), "anna", polish}, error)) << error;
  }
  test::ProcessResult Run(const std::vector<std::string>& arguments) {
    return test::RunProcess(DBINST_INSTALLER_PATH, arguments, {"WINEPREFIX=" + folder.string()});
  }

  fs::path folder;
};

std::string Windows(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

TEST_F(InstallerRunTest, LogOfARunOnTheDemoPrefix) {
  MakeDemo(false);
  const auto result = Run({"  /PATH:C:\\Some Dir  ", "/product:xx", "/update"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const auto lines = LogLines(result.out);
  ASSERT_GE(lines.size(), 16u) << result.out;
  EXPECT_EQ(lines[0], "Parameter 1: /PATH:C:\\Some Dir");
  EXPECT_EQ(lines[1], "Parameter 2: /product:xx");
  EXPECT_EQ(lines[2], "Parameter 3: /update");
  EXPECT_EQ(lines[3].rfind("CPU: ", 0), 0u);
  EXPECT_EQ(lines[4], "System: WINNT (9, 64 bit)");
  EXPECT_EQ(lines[5], "Admin rights: Present");
  EXPECT_EQ(lines[6], "Product name: Orvane");
  EXPECT_EQ(lines[7], "Installation files path: " + Windows(InstallerFolder()));
  EXPECT_EQ(lines[8], "Elder installation path found for Orvane: C:\\Orvane 1.5\\");
  EXPECT_EQ(lines[9], "Elder installation path found for Orvane Selka: [NONE]");
  EXPECT_EQ(lines[10], "Elder installation path found for Kestrio: C:\\Kestrio 5\\");
  const std::string velmora = "C:\\Program Files (x86)\\Velmora\\";
  EXPECT_EQ(lines[11], "Current installation path found for \"Orvane\": " + velmora + "Orvane 2\\");
  EXPECT_EQ(lines[12],
            "Current installation path found for \"Orvane Selka\": " + velmora + "Orvane Selka\\");
  EXPECT_EQ(lines[13],
            "Current installation path found for \"Kestrio\": " + velmora + "Kestrio 6\\");
  EXPECT_EQ(lines[14], "Program mode: Unknown");
  const auto first = lines.begin() + 14;
  EXPECT_EQ(*(first + 1), "Update path: C:\\Some Dir\\");
  const auto drives = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.rfind("Examining drive ", 0) == 0;
  });
  EXPECT_EQ(drives, 24);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Examining drive D: Type = 1;"), lines.end());
}

TEST_F(InstallerRunTest, RunLeavesTheScreenSaverSwitchedOff) {
  MakeDemo(true);
  const auto result = Run({});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("Language: lang0"), std::string::npos) << result.out;
  std::string error;
  const auto registry = PrefixRegistry::Load(folder.string(), error);
  ASSERT_TRUE(registry) << error;
  const auto key = registry->OpenKey(RegRoot::CurrentUser, "Control Panel\\Desktop");
  ASSERT_TRUE(key);
  EXPECT_EQ(RegValueText(*key->ReadValue("ScreenSaveActive")), "0");
}

TEST_F(InstallerRunTest, MissingPrefixIsAFatalErrorWithCode3) {
  const auto result = Run({});
  EXPECT_EQ(result.exitCode, 3);
  EXPECT_NE(result.err.find(folder.string()), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(folder));
}

// A copy of the built installer without the named resources.
fs::path InstallerWithout(const fs::path& folder, const std::vector<std::string>& resources) {
  fs::create_directories(folder);
  const fs::path copy = folder / "dbinstall";
  fs::copy_file(DBINST_INSTALLER_PATH, copy, fs::copy_options::overwrite_existing);
  std::vector<std::string> arguments;
  for (const std::string& name : resources) {
    arguments.insert(arguments.end(), {"--remove-section", ".rsrc." + name});
  }
  arguments.push_back(copy.string());
  EXPECT_EQ(test::RunProcess("/usr/bin/objcopy", arguments, {}).exitCode, 0);
  return copy;
}

TEST_F(InstallerRunTest, SamplePackagesAreInstalledIntoTheFirstTargetProgram) {
  MakeDemo(false);
  const auto result = Run({});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string orvane = "C:\\Program Files (x86)\\Velmora\\Orvane 2\\";
  EXPECT_NE(result.out.find("Installing into " + orvane), std::string::npos) << result.out;
  const std::string written = result.out.substr(result.out.find("Files written:"));
  EXPECT_NE(written.find(orvane + "Plytki\\SampleTiles.mdb"), std::string::npos) << written;
  EXPECT_NE(written.find(orvane + "dodatki\\SampleLamps\\models\\floor_lamp.txt"),
            std::string::npos);
  const fs::path program = folder / "drive_c/Program Files (x86)/Velmora/Orvane 2";
  EXPECT_TRUE(fs::is_regular_file(program / "Plytki/SampleTiles.mdb"));
  EXPECT_TRUE(fs::is_regular_file(program / "dodatki/SampleLamps/models/ceiling_lamp.txt"));
  EXPECT_TRUE(fs::is_regular_file(folder / "drive_c/windows/syswow64/7z.dll"));
  EXPECT_TRUE(fs::is_regular_file(folder / "drive_c/windows/syswow64/cc3290mt.dll"));
}

TEST_F(InstallerRunTest, InstallerWithoutDatabasesOrHelperLibraryEndsWithCode3) {
  MakeDemo(false);
  const fs::path copies = folder.string() + "-installers";
  for (const auto& removed : std::vector<std::vector<std::string>>{
           {"DB01INI", "DB01FULL", "DB02INI", "DB02FULL"}, {"LIBB1"}}) {
    const fs::path installer = InstallerWithout(copies, removed);
    const auto result = test::RunProcess(
        installer.string(), {}, {"WINEPREFIX=" + folder.string(), "DISPLAY=", "WAYLAND_DISPLAY="});
    EXPECT_EQ(result.exitCode, 3) << result.out;
    EXPECT_NE(result.err.find("Installer does not contain any databases"), std::string::npos)
        << result.err;
  }
  fs::remove_all(copies);
  EXPECT_FALSE(
      fs::exists(folder / "drive_c/Program Files (x86)/Velmora/Orvane 2/Plytki/SampleTiles.mdb"));
}

}  // namespace
}  // namespace dbinst
