#include "platform/prefix/PrefixSystemInfo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/Registry.h"
#include "platform/prefix/PrefixFileSystem.h"
#include "tests/support/TempPrefix.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;

class PrefixSystemInfoTest : public ::testing::Test {
 protected:
  PrefixSystemInfo Info() {
    registry = prefix.LoadRegistry();
    files = std::make_unique<PrefixFileSystem>(prefix.path(), *registry);
    return PrefixSystemInfo(*registry, *files, registry->Is64BitPrefix(), "/opt/dbinst/dbinstall");
  }
  void UsePolishUser() {
    fs::copy_file(fs::path(DBINST_TEST_FIXTURES) / "wine-8.0-polish-user" / "user.reg",
                  prefix.path() + "/user.reg", fs::copy_options::overwrite_existing);
  }
  void AppendToSystemReg(const std::string& text) {
    std::ofstream(prefix.path() + "/system.reg", std::ios::app | std::ios::binary) << text;
  }

  test::TempPrefix prefix;
  std::unique_ptr<PrefixRegistry> registry;
  std::unique_ptr<PrefixFileSystem> files;
};

TEST_F(PrefixSystemInfoTest, FreshWinePrefixIsWindows7ServicePack1) {
  const auto version = Info().GetVersion();
  ASSERT_TRUE(version);
  EXPECT_EQ(version->platformId, 2u);
  EXPECT_EQ(version->major, 6u);
  EXPECT_EQ(version->minor, 1u);
  EXPECT_EQ(version->build, 7601u);
  EXPECT_EQ(version->servicePack, "Service Pack 1");
}

TEST_F(PrefixSystemInfoTest, WindowsTenIsReportedAsEightToAProgramWithoutACompatibilityManifest) {
  AppendToSystemReg(
      "\n[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion] 1796768700\n"
      "\"CurrentVersion\"=\"10.0\"\n\"CurrentMajorVersionNumber\"=dword:0000000a\n"
      "\"CurrentMinorVersionNumber\"=dword:00000000\n");
  const auto version = Info().GetVersion();
  ASSERT_TRUE(version);
  EXPECT_EQ(version->major, 6u);
  EXPECT_EQ(version->minor, 2u);
}

TEST_F(PrefixSystemInfoTest, LanguageAndNumberFormatComeFromTheUsersLocale) {
  PrefixSystemInfo english = Info();
  EXPECT_EQ(english.UserDefaultLangId(), 1033);
  EXPECT_EQ(english.AnsiCodePage(), 1252u);
  EXPECT_EQ(english.UserNumberFormat().thousandSeparator, ",");
  EXPECT_EQ(english.UserNumberFormat().decimalSeparator, ".");

  UsePolishUser();
  PrefixSystemInfo polish = Info();
  EXPECT_EQ(polish.UserDefaultLangId(), 1045);
  EXPECT_EQ(polish.UserNumberFormat().thousandSeparator, "\xC2\xA0");
  EXPECT_EQ(polish.UserNumberFormat().decimalSeparator, ",");
}

TEST_F(PrefixSystemInfoTest, FoldersOfA64BitPrefix) {
  PrefixSystemInfo info = Info();
  EXPECT_EQ(info.SpecialFolder(36), "C:\\windows");
  EXPECT_EQ(info.SpecialFolder(37), "C:\\windows\\system32");
  EXPECT_FALSE(info.SpecialFolder(5));
  EXPECT_EQ(info.SystemDirectory(), "C:\\windows\\system32");
  EXPECT_EQ(info.SystemWow64Directory(), "C:\\windows\\syswow64");
  EXPECT_EQ(info.TempPath(), "C:\\users\\root\\Temp\\");
  EXPECT_EQ(info.ExecutablePath(), "Z:\\opt\\dbinst\\dbinstall");
}

TEST_F(PrefixSystemInfoTest, EnvironmentReferencesExpandFromUserSessionAndSystem) {
  PrefixSystemInfo info = Info();
  EXPECT_EQ(info.ExpandEnvironmentStrings("%USERPROFILE%\\Temp"), "C:\\users\\root\\Temp");
  EXPECT_EQ(info.ExpandEnvironmentStrings("%SystemRoot%\\x;%OS%"), "C:\\windows\\x;Windows_NT");
  EXPECT_EQ(info.ExpandEnvironmentStrings("100% %NOSUCH% 50%"), "100% %NOSUCH% 50%");
  EXPECT_EQ(info.ExpandEnvironmentStrings("%%"), "%%");
}

}  // namespace
}  // namespace dbinst
