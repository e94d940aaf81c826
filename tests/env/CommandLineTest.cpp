#include "env/CommandLine.h"

#include <gtest/gtest.h>

#include "env/InstallLog.h"

namespace dbinst {
namespace {

CommandLineFields Read(const std::vector<std::string>& arguments, InstallLog& log) {
  return ReadCommandLine(arguments, MakeStringToProductMap(), log);
}

TEST(CommandLineTest, NoArgumentsLogNothingAndRunAsDatabaseInstaller) {
  InstallLog log;
  const CommandLineFields fields = Read({}, log);
  EXPECT_TRUE(log.Lines().empty());
  EXPECT_EQ(fields.programMode, EProgramMode::DatabaseInstaller);
  EXPECT_EQ(ProgramModeText(fields.programMode), "Unknown");
}

TEST(CommandLineTest, PathSwitchIsMatchedWithoutCaseAndKeepsTheArgumentsCase) {
  InstallLog log;
  const CommandLineFields fields = Read({"  /PATH:C:\\Some Dir  ", "/path:   ", "x"}, log);
  EXPECT_EQ(fields.updatePath, "C:\\Some Dir\\");
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"Parameter 1: /PATH:C:\\Some Dir",
                                                   "Parameter 2: /path:", "Parameter 3: x"}));
}

TEST(CommandLineTest, ProductSwitchTakesOnlyKnownCodes) {
  InstallLog log;
  EXPECT_EQ(Read({"/product:xx"}, log).updateProduct, EProductLine::None);
  EXPECT_EQ(Read({"/Product: ks "}, log).updateProduct, EProductLine::Kestrio);
  EXPECT_EQ(Read({"/product:ovs", "/product:nope"}, log).updateProduct, EProductLine::OrvaneSelka);
}

TEST(CommandLineTest, UpdateSwitchNeverChangesTheDatabaseInstallerMode) {
  InstallLog log;
  const CommandLineFields fields = Read({"/update", "/UPDATE:/path:C:\\x"}, log);
  EXPECT_EQ(fields.programMode, EProgramMode::DatabaseInstaller);
  EXPECT_EQ(fields.updatePath, "");
}

TEST(CommandLineTest, LanguageAndSilentSwitches) {
  InstallLog log;
  const CommandLineFields fields = Read({"/langcode: lang3 ", "-silent"}, log);
  EXPECT_EQ(fields.uninstallLanguageCode, "lang3");
  EXPECT_TRUE(fields.silent);
  EXPECT_FALSE(Read({"/langcode:"}, log).silent);
}

TEST(CommandLineTest, ModeTexts) {
  EXPECT_EQ(ProgramModeText(EProgramMode::Standard), "Standard");
  EXPECT_EQ(ProgramModeText(EProgramMode::Update), "Update");
  EXPECT_EQ(ProgramModeText(EProgramMode::Uninstall), "Uninstall");
  EXPECT_EQ(ProgramModeText(EProgramMode::NoTranslation), "Unknown");
}

}  // namespace
}  // namespace dbinst
