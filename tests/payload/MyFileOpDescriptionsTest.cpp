#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "payload/MyFileOp.h"
#include "payload/ShellOps.h"
#include "tests/support/EnginePrefix.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;

const std::string kProgram = "C:\\Program Files (x86)\\Velmora\\Orvane 2\\";

class MyFileOpDescriptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world.Builder().AddProgram("OV", kProgram).RegisteredIn(RegRoot::LocalMachine, "Orvane2");
    world.Open();
    fileOp = std::make_unique<MyFileOp>(world.machine(), world.module().Log());
  }

  // Writes an ini file at a Windows path on drive C.
  std::string WriteIni(const std::string& windowsPath, const std::string& text) {
    const fs::path host = world.HostPath(windowsPath);
    fs::create_directories(host.parent_path());
    std::ofstream(host, std::ios::binary) << text;
    return windowsPath;
  }

  std::string KindFolder(const TDatabaseEmbedded& database) {
    return world.module().DatabaseFolder(kProgram, database.Type);
  }

  TDatabaseEmbedded Described(const std::string& text) {
    TDatabaseEmbedded database;
    database.IniResource = "DB01INI";
    database.ArchiveResource = "DB01FULL";
    database.DescriptionFile = WriteIni("C:\\temp\\DbIni01.ini", text);
    EXPECT_TRUE(fileOp->ReadEmbeddedDescription(database));
    return database;
  }

  test::EnginePrefix world;
  std::unique_ptr<MyFileOp> fileOp;
};

TEST_F(MyFileOpDescriptionsTest, DescriptionGivesEveryField) {
  const auto database = Described(
      "[info]\r\nBAZA=Opoczno 2013\r\nDATA=2013\r\nMDATE=2011-5-12\r\nIDBAZY=14\r\n"
      "[install]\r\nType=TILES\r\nTARGETNAME=Opoczno2013.mdb\r\nTARGETSIZE=123456789012\r\n"
      "FORMATFDB=2\r\n");
  EXPECT_EQ(database.Name, "Opoczno 2013");
  EXPECT_EQ(database.DataText, "2013");
  EXPECT_EQ(database.MDate, (TDatabaseDate{2011, 5, 12}));
  EXPECT_EQ(database.UDate, (TDatabaseDate{2013, 0, 0}));
  EXPECT_EQ(database.Type, EDatabaseType::Tiles);
  EXPECT_EQ(database.TargetName, "Opoczno2013.mdb");
  EXPECT_EQ(database.TargetSize, 123456789012);
  EXPECT_TRUE(database.FormatFdb);
  EXPECT_TRUE(MyFileOp::IsCatalogueEntry(database));
}

TEST_F(MyFileOpDescriptionsTest, JunkNumbersGiveZeroAndAMissingTypeGivesNone) {
  const auto database = Described("[INSTALL]\r\nTARGETSIZE=many\r\nFORMATFDB=yes\r\n");
  EXPECT_EQ(database.TargetSize, 0);
  EXPECT_FALSE(database.FormatFdb);
  EXPECT_EQ(database.Type, EDatabaseType::None);
  EXPECT_TRUE(database.MDate.IsEmpty());
  EXPECT_FALSE(MyFileOp::IsCatalogueEntry(database));
}

TEST_F(MyFileOpDescriptionsTest, MissingDescriptionFileIsRefused) {
  TDatabaseEmbedded database;
  database.IniResource = "DB01INI";
  database.ArchiveResource = "DB01FULL";
  database.DescriptionFile = "C:\\temp\\absent.ini";
  EXPECT_FALSE(fileOp->ReadEmbeddedDescription(database));
  database.DescriptionFile.clear();
  EXPECT_FALSE(fileOp->ReadEmbeddedDescription(database));
}

TEST_F(MyFileOpDescriptionsTest, GroupingKeepsNamelessWallsAndDropsNamelessTilesAndLowerCaseTypes) {
  const auto tiles = Described("[info]\r\nBAZA=Tubadzin\r\n[INSTALL]\r\nTYPE=TILES\r\n");
  const auto namelessTiles = Described("[INSTALL]\r\nTYPE=TILES\r\n");
  const auto lowerCase = Described("[info]\r\nBAZA=X\r\n[INSTALL]\r\nTYPE=tiles\r\n");
  const auto walls = Described("[INSTALL]\r\nTYPE=WALLS\r\n");
  const auto interiors = Described("[info]\r\nBAZA=Lampy\r\n[INSTALL]\r\nTYPE=INTERIOR\r\n");
  auto secondTiles = tiles;
  secondTiles.Name = "Paradyz";
  const auto catalogue =
      MyFileOp::GroupByType({interiors, tiles, namelessTiles, lowerCase, walls, secondTiles});
  ASSERT_EQ(catalogue.size(), 3u);
  EXPECT_EQ(catalogue.begin()->first, EDatabaseType::Tiles);
  ASSERT_EQ(catalogue.at(EDatabaseType::Tiles).size(), 2u);
  EXPECT_EQ(catalogue.at(EDatabaseType::Tiles)[0].Name, "Tubadzin");
  EXPECT_EQ(catalogue.at(EDatabaseType::Tiles)[1].Name, "Paradyz");
  EXPECT_EQ(catalogue.at(EDatabaseType::Interiors).size(), 1u);
  EXPECT_EQ(catalogue.at(EDatabaseType::Walls).size(), 1u);
}

TEST_F(MyFileOpDescriptionsTest, ExtractionFolderLiesInTheUsersTemporaryFolder) {
  EXPECT_EQ(fileOp->GetExtractionFolder(), fileOp->Shell().TempFolder + "cad_db_extraction_temp\\");
  EXPECT_EQ(fileOp->GetExtractionFolder().rfind("C:\\", 0), 0u);
}

TEST_F(MyFileOpDescriptionsTest, InstalledInteriorsDateComesFromTheIniThatNamesTheDatabase) {
  TDatabaseEmbedded database;
  database.Type = EDatabaseType::Interiors;
  database.TargetName = "Lampy";
  TDatabaseDate date;
  EXPECT_FALSE(fileOp->FindInstalledDatabase(KindFolder(database), database, date));
  WriteIni(kProgram + "dodatki\\Lampy\\a.ini", "[info]\r\nMDATE=2001-1-1\r\n");
  WriteIni(kProgram + "dodatki\\Lampy\\b.ini", "[info]\r\nBAZA=Lampy\r\nMDATE=2014-2-3\r\n");
  WriteIni(kProgram + "dodatki\\Lampy\\c.txt", "[info]\r\nBAZA=Other\r\n");
  ASSERT_TRUE(fileOp->FindInstalledDatabase(KindFolder(database), database, date));
  EXPECT_EQ(date, (TDatabaseDate{2014, 2, 3}));
}

TEST_F(MyFileOpDescriptionsTest, InstalledTilesAreFoundByTargetNameWithIniExtension) {
  TDatabaseEmbedded database;
  database.Type = EDatabaseType::Tiles;
  database.TargetName = "Opoczno2013.mdb";
  WriteIni(kProgram + "Plytki\\Other.ini", "[info]\r\nBAZA=Other\r\nMDATE=2001-1-1\r\n");
  TDatabaseDate date;
  EXPECT_FALSE(fileOp->FindInstalledDatabase(KindFolder(database), database, date));
  WriteIni(kProgram + "Plytki\\OPOCZNO2013.INI", "[info]\r\nBAZA=Opoczno\r\nDATA=2013-7-8\r\n");
  ASSERT_TRUE(fileOp->FindInstalledDatabase(KindFolder(database), database, date));
  EXPECT_EQ(date, (TDatabaseDate{2013, 7, 8}));
}

TEST_F(MyFileOpDescriptionsTest, WallsAreNeverReportedAsInstalled) {
  TDatabaseEmbedded database;
  database.Type = EDatabaseType::Walls;
  database.TargetName = "Sciany";
  WriteIni(kProgram + "WALLS\\Sciany.ini", "[info]\r\nBAZA=Sciany\r\n");
  TDatabaseDate date;
  EXPECT_FALSE(fileOp->FindInstalledDatabase(KindFolder(database), database, date));
}

TEST_F(MyFileOpDescriptionsTest, InstalledYearAloneFallsBackToTheFilesLastWriteDate) {
  const std::string ini =
      WriteIni(kProgram + "x.ini", "[info]\r\nBAZA=A\r\nDATA=2013\r\nUDATE=2012-3-4\r\nUSER=1\r\n");
  std::tm noon{};
  noon.tm_year = 2015 - 1900;
  noon.tm_mon = 5;
  noon.tm_mday = 17;
  noon.tm_hour = 12;
  const auto written = std::chrono::system_clock::from_time_t(std::mktime(&noon));
  fs::last_write_time(world.HostPath(ini), fs::file_time_type::clock::from_sys(written));
  TDatabaseBase base;
  ASSERT_TRUE(fileOp->ReadInstalledDescription(ini, base));
  EXPECT_EQ(base.MDate, (TDatabaseDate{2015, 6, 17}));
  EXPECT_EQ(base.UDate, (TDatabaseDate{2012, 3, 4}));
  EXPECT_TRUE(base.UserDb);
  EXPECT_FALSE(base.Special);
}

TEST_F(MyFileOpDescriptionsTest, UserDbWinsOverUserAndAMissingFileLeavesTheRecord) {
  const std::string ini = WriteIni(kProgram + "y.ini",
                                   "[info]\r\nBAZA=B\r\nUSERDB=0\r\nUSER=1\r\nSPECIAL=3\r\n"
                                   "MDATE=2010-10-10\r\nUDATE=2011-11-11\r\n");
  TDatabaseBase base;
  base.UserDb = true;
  ASSERT_TRUE(fileOp->ReadInstalledDescription(ini, base));
  EXPECT_FALSE(base.UserDb);
  EXPECT_TRUE(base.Special);
  EXPECT_EQ(base.MDate, (TDatabaseDate{2010, 10, 10}));
  TDatabaseBase untouched;
  untouched.Name = "kept";
  EXPECT_FALSE(fileOp->ReadInstalledDescription(kProgram + "absent.ini", untouched));
  EXPECT_EQ(untouched.Name, "kept");
}

}  // namespace
}  // namespace dbinst
