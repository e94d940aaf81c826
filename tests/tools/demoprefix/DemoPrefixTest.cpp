#include "tools/demoprefix/DemoPrefix.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/RegistryValue.h"
#include "platform/VersionText.h"
#include "platform/prefix/PeFileVersionReader.h"
#include "platform/prefix/PrefixFileSystem.h"
#include "platform/prefix/PrefixRegistry.h"
#include "tests/TempFolder.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

class DemoPrefixTest : public ::testing::Test {
 protected:
  bool Make(bool polish = false) {
    error_.clear();
    return MakeDemoPrefix({prefix_.string(), "anna", polish}, error_);
  }

  TempFolder folder_;
  fs::path prefix_ = folder_.Path() / "demo";
  std::string error_;
};

TEST_F(DemoPrefixTest, HoldsThreeProgramsReadableThroughThePrefixMachine) {
  ASSERT_TRUE(Make(true)) << error_;
  std::string error;
  const auto registry = PrefixRegistry::Load(prefix_.string(), error);
  ASSERT_TRUE(registry) << error;
  const auto installations =
      registry->OpenKey(RegRoot::LocalMachine, "SOFTWARE\\VELMORA\\INSTALLATIONS");
  ASSERT_TRUE(installations);
  EXPECT_EQ(RegValueText(*installations->ReadValue("OV")), "Orvane2");
  EXPECT_EQ(RegValueText(*installations->ReadValue("KS")), "Kestrio6");
  const auto user = registry->OpenKey(RegRoot::CurrentUser, "SOFTWARE\\VELMORA\\INSTALLATIONS");
  ASSERT_TRUE(user);
  EXPECT_EQ(RegValueText(*user->ReadValue("OVS")), "OrvaneSelka");

  const PrefixFileSystem files(prefix_.string(), *registry);
  const PeFileVersionReader versions(files);
  const auto versionText = [&](const std::string& path) {
    const auto block = versions.GetFileVersionInfo(path);
    return block ? FileVersionTextOf(*block) : "<none>";
  };
  const std::string velmora = "c:\\PROGRAM FILES (X86)\\velmora\\";
  EXPECT_EQ(versionText(velmora + "Orvane 2\\ORVANE.EXE"), "2.1.0.5");
  EXPECT_EQ(versionText(velmora + "Kestrio 6\\Kestrio.exe"), "6.2.0.15");
  EXPECT_EQ(versionText(velmora + "Kestrio 6\\manager.dll"), "6.2.0.15");
  EXPECT_EQ(versionText(velmora + "Orvane Selka\\Orvane_Selka.exe"), "2.0.3.0");
  EXPECT_EQ(versionText(velmora + "Orvane Selka\\Missing.exe"), "<none>");
  EXPECT_TRUE(files.FolderExists(velmora + "Orvane 2\\Plytki"));
}

TEST_F(DemoPrefixTest, RefusesAFolderItDidNotMake) {
  fs::create_directories(prefix_);
  std::ofstream(prefix_ / "keep.txt") << "mine";
  EXPECT_FALSE(Make());
  EXPECT_NE(error_.find("not a demo prefix"), std::string::npos);
  EXPECT_TRUE(fs::exists(prefix_ / "keep.txt"));
  EXPECT_FALSE(fs::exists(prefix_ / "system.reg"));

  std::ofstream(folder_.Path() / "plain-file") << "x";
  prefix_ = folder_.Path() / "plain-file";
  EXPECT_FALSE(Make());
}

TEST_F(DemoPrefixTest, EmptyFolderIsUsed) {
  fs::create_directories(prefix_);
  EXPECT_TRUE(Make()) << error_;
  EXPECT_TRUE(fs::exists(prefix_ / kDemoPrefixMarker));
}

TEST_F(DemoPrefixTest, RebuildStartsFreshWithoutFollowingDriveLinks) {
  ASSERT_TRUE(Make()) << error_;
  std::ofstream(prefix_ / "drive_c" / "stray.txt") << "old";
  const fs::path canary = folder_.Path() / "outside";
  fs::create_directories(canary);
  std::ofstream(canary / "canary.txt") << "keep";
  fs::remove(prefix_ / "dosdevices" / "z:");
  fs::create_directory_symlink(canary, prefix_ / "dosdevices" / "z:");

  ASSERT_TRUE(Make()) << error_;
  EXPECT_FALSE(fs::exists(prefix_ / "drive_c" / "stray.txt"));
  EXPECT_TRUE(fs::exists(canary / "canary.txt"));
  EXPECT_EQ(fs::read_symlink(prefix_ / "dosdevices" / "z:"), "/");
}

}  // namespace
}  // namespace dbinst
