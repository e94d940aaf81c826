#include "engine/TargetPrograms.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "payload/MyFileOp.h"
#include "tests/support/EnginePrefix.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;

const std::string kOrvane = "C:\\Velmora\\Orvane 2";
const std::string kKestrio = "C:\\Velmora\\Kestrio 6";
const std::string kPro = "C:\\Velmora\\Orvane Pro";

TDatabaseEmbedded Database(EDatabaseType type, bool formatFdb = false) {
  TDatabaseEmbedded database;
  database.Type = type;
  database.FormatFdb = formatFdb;
  return database;
}

class TargetProgramsTest : public ::testing::Test {
 protected:
  FamilyProgram& Add(const std::string& code, const std::string& folder) {
    return world.Builder().AddProgram(code, folder).RegisteredIn(RegRoot::LocalMachine, code);
  }

  TTargetProgramLists Discover(const TDatabaseEmbeddedVecAfterTypeMap& catalogue) {
    world.Open();
    fileOp = std::make_unique<MyFileOp>(world.machine(), world.module().Log());
    TTargetProgramLists lists;
    FindTargetPrograms(*fileOp, world.module(), catalogue, lists);
    return lists;
  }

  test::EnginePrefix world;
  std::unique_ptr<MyFileOp> fileOp;
  const TDatabaseEmbeddedVecAfterTypeMap tiles_ = {
      {EDatabaseType::Tiles, {Database(EDatabaseType::Tiles)}}};
};

TCadAppInstalled App(EProductLine line, const std::string& folder) { return {line, folder + "\\"}; }

TEST_F(TargetProgramsTest, EmptyFolderFailsTheCheckAndAnyFileLetsItPass) {
  Discover(tiles_);
  const fs::path empty = world.HostPath("C:\\Empty");
  fs::create_directories(empty);
  TProgramFolderCheck check;
  EXPECT_FALSE(
      CheckProgramFolder(*fileOp, world.module(), "C:\\Empty", EProductLine::Orvane, check));
  EXPECT_FALSE(
      CheckProgramFolder(*fileOp, world.module(), "C:\\Absent\\", EProductLine::Orvane, check));
  std::ofstream(empty / "readme.txt") << "x";
  ASSERT_TRUE(
      CheckProgramFolder(*fileOp, world.module(), "C:\\Empty", EProductLine::Orvane, check));
  EXPECT_FALSE(check.FilesPresent);
  EXPECT_FALSE(check.VersionsMet);
}

TEST_F(TargetProgramsTest, ProgramWithoutKafleIsNeverListed) {
  Add("OV", kOrvane).Without("kafle.dll");
  const auto lists = Discover(tiles_);
  EXPECT_TRUE(lists.Group1Apps.empty());
  EXPECT_TRUE(lists.Group1OldApps.empty());
  EXPECT_TRUE(lists.TargetApps.empty());
  TProgramFolderCheck check;
  ASSERT_TRUE(CheckProgramFolder(*fileOp, world.module(), kOrvane, EProductLine::Orvane, check));
  EXPECT_FALSE(check.FilesPresent);
}

TEST_F(TargetProgramsTest, OlderExecutableGoesToTheOldListAndIsOfferedWhenAlone) {
  Add("OV", kOrvane).ExecutableVersion("1.9.0.0");
  const auto lists = Discover(tiles_);
  EXPECT_TRUE(lists.Group1Apps.empty());
  EXPECT_EQ(lists.Group1OldApps, (TCadAppInstalledVec{App(EProductLine::Orvane, kOrvane)}));
  EXPECT_EQ(lists.TargetApps, lists.Group1OldApps);
}

TEST_F(TargetProgramsTest, ExactMinimumVersionsAndAOneDotVersionMeetTheCheck) {
  Add("OV", kOrvane).ExecutableVersion("2.0.0.0").LibraryVersions("6.0", "2.0");
  const auto lists = Discover(tiles_);
  EXPECT_EQ(lists.Group1Apps, (TCadAppInstalledVec{App(EProductLine::Orvane, kOrvane)}));
  std::string text = "untouched";
  ASSERT_TRUE(ProgramVersionText(*fileOp, world.module(), kOrvane, EProductLine::Orvane, text));
  EXPECT_EQ(text, "2.0");
  text = "untouched";
  EXPECT_FALSE(ProgramVersionText(*fileOp, world.module(), kOrvane, EProductLine::Kestrio, text));
  EXPECT_FALSE(ProgramVersionText(*fileOp, world.module(), "", EProductLine::Orvane, text));
  EXPECT_EQ(text, "untouched");
}

TEST_F(TargetProgramsTest, OlderKestrioIsNotOfferedForNewFormatTiles) {
  Add("KS", kKestrio).ExecutableVersion("5.9.0.0");
  const auto lists = Discover({{EDatabaseType::Tiles, {Database(EDatabaseType::Tiles, true)}}});
  EXPECT_TRUE(lists.TargetApps.empty());
}

TEST_F(TargetProgramsTest, ProfessionalLineComesBeforeOrvaneForTiles) {
  Add("OV", kOrvane);
  Add("OVPRO", kPro);
  const auto lists = Discover(tiles_);
  EXPECT_EQ(lists.TargetApps, (TCadAppInstalledVec{App(EProductLine::OrvanePro, kPro),
                                                   App(EProductLine::Orvane, kOrvane)}));
}

TEST_F(TargetProgramsTest, OlderProfessionalProgramIsSkippedAndOldProgramsGiveWayToIt) {
  Add("OVPRO", kPro).LibraryVersions("5.9.0.0", "2.0.0.0");
  Add("OV", kOrvane).ExecutableVersion("1.0.0.0");
  const auto lists = Discover(tiles_);
  EXPECT_TRUE(lists.Group3Apps.empty());
  EXPECT_EQ(lists.TargetApps, (TCadAppInstalledVec{App(EProductLine::Orvane, kOrvane)}));
}

TEST_F(TargetProgramsTest, CabinetsRemoveOrvaneEvenWhenTilesComeFirst) {
  Add("OV", kOrvane);
  Add("KS", kKestrio);
  Add("OVPRO", kPro);
  const auto lists = Discover({{EDatabaseType::Tiles, {Database(EDatabaseType::Tiles)}},
                               {EDatabaseType::Cabinets, {Database(EDatabaseType::Cabinets)}}});
  EXPECT_EQ(lists.TargetApps, (TCadAppInstalledVec{App(EProductLine::OrvanePro, kPro),
                                                   App(EProductLine::Kestrio, kKestrio)}));
}

TEST_F(TargetProgramsTest, InteriorsOfferKestrioBeforeOrvane) {
  Add("OV", kOrvane);
  Add("KS", kKestrio);
  const auto lists = Discover({{EDatabaseType::Interiors, {Database(EDatabaseType::Interiors)}}});
  EXPECT_EQ(lists.TargetApps, (TCadAppInstalledVec{App(EProductLine::Kestrio, kKestrio),
                                                   App(EProductLine::Orvane, kOrvane)}));
}

}  // namespace
}  // namespace dbinst
