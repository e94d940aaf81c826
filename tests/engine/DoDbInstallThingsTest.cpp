#include "engine/DoDbInstallThings.h"

#include <gtest/gtest.h>
#include <sys/mount.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "payload/MyFileOp.h"
#include "payload/SevenZipReader.h"
#include "payload/ShellOps.h"
#include "platform/Text.h"
#include "tests/support/ElfFiles.h"
#include "tests/support/EnginePrefix.h"
#include "tests/support/RecordingProgress.h"
#include "tests/support/SevenZipArchives.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;
using test::Make7z;
using test::SlurpFile;

const std::string kProgram = "C:\\Velmora\\Orvane 2\\";
const std::string kSystem = "C:\\windows\\syswow64\\";
const std::string kPasswordSwitch = "-p" + std::string(kArchivePassword);

// Writes text of exactly the size asked, so TARGETSIZE can be the archive's real size.
std::string Bytes(size_t size, char fill) { return std::string(size, fill); }

class DoDbInstallThingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world.Builder().AddProgram("OV", kProgram).RegisteredIn(RegRoot::LocalMachine, "Orvane2");
  }

  // A package from a description and the archive of these files, made with 7zz options.
  void AddPackage(int number, const std::string& ini, const test::ArchiveFiles& files,
                  const std::string& options = "") {
    const fs::path archive = world.Root() / ("package" + std::to_string(number) + ".7z");
    ASSERT_TRUE(Make7z(archive, files, options));
    AddPackageBytes(number, ini, SlurpFile(archive));
  }
  void AddPackageBytes(int number, const std::string& ini, const std::string& archive) {
    const std::string prefix = "DB0" + std::to_string(number);
    world.AddResource(prefix + "INI", ini);
    world.AddResource(prefix + "FULL", archive);
  }
  void AddSamplePackages() {
    AddPackage(
        1,
        "[info]\r\nBAZA=Opoczno 2026\r\nMDATE=2026-3-4\r\n[INSTALL]\r\nTYPE=TILES\r\n"
        "TARGETNAME=Opoczno.mdb\r\nTARGETSIZE=60\r\nFORMATFDB=1\r\n",
        {{"Opoczno.ini", "[info]\r\nBAZA=Opoczno 2026\r\nMDATE=2026-3-4\r\n" + Bytes(18, ';')},
         {"Opoczno.mdb", Bytes(20, 'm')}},
        "-m0=lzma2 -ms=on");
    AddPackage(2,
               "[info]\r\nBAZA=Lamps\r\nDATA=2025\r\n[INSTALL]\r\nTYPE=INTERIOR\r\n"
               "TARGETNAME=Lamps\r\nTARGETSIZE=120\r\n",
               {{"Lamps.ini", "[info]\r\nBAZA=Lamps\r\nMDATE=2025-1-2\r\n" + Bytes(6, ';')},
                {"models/ceiling/lamp1.txt", Bytes(40, 'a')},
                {"models/floor/lamp2.txt", Bytes(40, 'b')}},
               kPasswordSwitch + " -mhe=on");
  }
  TDoDbInstallThings& Engine() {
    if (!engine) {
      world.Open();
      engine = std::make_unique<TDoDbInstallThings>(world.machine(), world.module());
    }
    return *engine;
  }
  bool OnDisk(const std::string& windowsPath) { return fs::exists(world.HostPath(windowsPath)); }
  std::string Extraction() { return Engine().FileOp().GetExtractionFolder(); }

  test::EnginePrefix world;
  std::unique_ptr<TDoDbInstallThings> engine;
  test::RecordingProgress progress;
  test::RecordedBar& mainBar = progress.overall;
  test::RecordedBar& subBar = progress.item;
};

TEST_F(DoDbInstallThingsTest, CatalogueQueriesAndTargetsAfterConstruction) {
  AddSamplePackages();
  auto& engine = Engine();
  EXPECT_EQ(engine.DatabaseCount(), 2);
  EXPECT_EQ(engine.DatabaseKinds(),
            (EDatabaseTypeVec{EDatabaseType::Tiles, EDatabaseType::Interiors}));
  EXPECT_TRUE(engine.AnyNewFormat());
  EXPECT_EQ(engine.TargetPrograms(), (TCadAppInstalledVec{{EProductLine::Orvane, kProgram}}));
  EXPECT_TRUE(OnDisk(Extraction() + "DbIni01.ini"));
  EXPECT_TRUE(OnDisk(Extraction() + "DbIni02.ini"));
  const auto catalogue = engine.CatalogueCopy();
  EXPECT_EQ(catalogue.at(EDatabaseType::Interiors)[0].MDate, (TDatabaseDate{2025, 0, 0}));
  EXPECT_TRUE(engine.ExistingDatabases(kProgram).empty());
}

TEST_F(DoDbInstallThingsTest, PackagesOneAndThreeWithoutTwoGiveOnlyTheFirst) {
  AddPackage(1, "[INSTALL]\r\nTYPE=WALLS\r\n", {{"w.txt", "wall"}});
  world.AddResource("DB02INI", "[INSTALL]\r\nTYPE=WALLS\r\n");
  AddPackage(3, "[INSTALL]\r\nTYPE=MATERIALS\r\n", {{"m.txt", "material"}});
  EXPECT_EQ(Engine().DatabaseKinds(), (EDatabaseTypeVec{EDatabaseType::Walls}));
}

TEST_F(DoDbInstallThingsTest, CopyAndInstallPutEachKindIntoItsFolderAndMoveTheBars) {
  AddSamplePackages();
  auto& engine = Engine();
  fs::create_directories(world.HostPath(Extraction() + "stale"));
  ASSERT_TRUE(engine.CopyArchives(&progress));
  EXPECT_FALSE(OnDisk(Extraction() + "stale"));
  EXPECT_FALSE(OnDisk(Extraction() + "DbIni01.ini"));
  const int64_t tilesArchive = fs::file_size(world.HostPath(Extraction() + "Opoczno.7z"));
  const int64_t lampsArchive = fs::file_size(world.HostPath(Extraction() + "Lamps.7z"));
  EXPECT_EQ(mainBar.Max(), static_cast<float>((tilesArchive + lampsArchive) * 2.5));
  EXPECT_EQ(mainBar.Value(), static_cast<float>(tilesArchive + lampsArchive));
  EXPECT_EQ(progress.activity, "Copying an archive of: Lamps database");

  mainBar.values.clear();
  ASSERT_TRUE(engine.InstallDatabases(kProgram, &progress));
  EXPECT_EQ(mainBar.Max(), 300.0f);
  EXPECT_EQ(mainBar.values.front(), 120.0f);
  EXPECT_TRUE(mainBar.Passed(180.0f));
  EXPECT_EQ(mainBar.Value(), 300.0f);
  EXPECT_EQ(subBar.Value(), subBar.Max());
  EXPECT_EQ(progress.activity, "Installation of Lamps database");
  EXPECT_EQ(SlurpFile(world.HostPath(kProgram + "Plytki\\Opoczno.mdb")), Bytes(20, 'm'));
  EXPECT_FALSE(OnDisk(kProgram + "Plytki\\Opoczno\\Opoczno.mdb"));
  EXPECT_EQ(SlurpFile(world.HostPath(kProgram + "dodatki\\Lamps\\models\\floor\\lamp2.txt")),
            Bytes(40, 'b'));
  EXPECT_FALSE(OnDisk(WithoutTrailingBackslash(Extraction())));

  const auto existing = engine.ExistingDatabases(kProgram);
  ASSERT_EQ(existing.size(), 2u);
  EXPECT_EQ(existing[0].first.Name, "Opoczno 2026");
  EXPECT_EQ(existing[0].second, (TDatabaseDate{2026, 3, 4}));
  EXPECT_EQ(existing[1].second, (TDatabaseDate{2025, 1, 2}));
}

TEST_F(DoDbInstallThingsTest, UnnamedArchivesTakeTheirPositionAndCabinetsGoBesideTheProgram) {
  AddPackage(1, "[info]\r\nBAZA=Szafki\r\n[INSTALL]\r\nTYPE=CABINETS\r\nTARGETNAME=Szafki\r\n",
             {{"s.txt", "cabinet"}});
  AddPackage(2, "[INSTALL]\r\nTYPE=WALLS\r\n", {{"w.txt", "wall"}});
  auto& engine = Engine();
  ASSERT_TRUE(engine.CopyArchives(nullptr));
  EXPECT_TRUE(OnDisk(Extraction() + "Szafki.7z"));
  EXPECT_TRUE(OnDisk(Extraction() + "DB2.7z"));
  ASSERT_TRUE(engine.InstallDatabases(kProgram, &progress));
  EXPECT_EQ(progress.activity, "Installation of Wall elements database database");
  EXPECT_TRUE(OnDisk(kProgram + "Szafki\\s.txt"));
  EXPECT_TRUE(OnDisk(kProgram + "WALLS\\w.txt"));
}

TEST_F(DoDbInstallThingsTest, AFailedExtractionGoesOnWithTheNextAndIsReportedAtTheEnd) {
  const fs::path archive = world.Root() / "broken.7z";
  ASSERT_TRUE(Make7z(archive, {{"a.txt", Bytes(5000, 'x')}, {"b.txt", Bytes(5000, 'y')}}));
  std::string bytes = SlurpFile(archive);
  AddPackageBytes(1, "[info]\r\nBAZA=Broken\r\n[INSTALL]\r\nTYPE=TILES\r\nTARGETNAME=Broken\r\n",
                  bytes.substr(0, bytes.size() / 2));
  AddPackage(2, "[info]\r\nBAZA=Lamps\r\n[INSTALL]\r\nTYPE=INTERIOR\r\nTARGETNAME=Lamps\r\n",
             {{"lamp.txt", "lamp"}});
  auto& engine = Engine();
  ASSERT_TRUE(engine.CopyArchives(&progress));
  EXPECT_FALSE(engine.InstallDatabases(kProgram, &progress));
  EXPECT_TRUE(OnDisk(kProgram + "dodatki\\Lamps\\lamp.txt"));
  const auto& log = world.module().Log().Lines();
  EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& line) {
    return line.rfind("Installation of database Broken failed", 0) == 0;
  }));
}

TEST_F(DoDbInstallThingsTest, TargetNameThatClimbsOutOfTheFoldersStopsBothSteps) {
  AddPackage(1, "[info]\r\nBAZA=Evil\r\n[INSTALL]\r\nTYPE=INTERIOR\r\nTARGETNAME=..\\..\\Evil\r\n",
             {{"evil.txt", "evil"}});
  auto& engine = Engine();
  EXPECT_EQ(engine.DatabaseCount(), 1);
  EXPECT_FALSE(engine.CopyArchives(nullptr));
  EXPECT_FALSE(engine.InstallDatabases(kProgram, nullptr));
  EXPECT_FALSE(OnDisk("C:\\Velmora\\Evil"));
  EXPECT_FALSE(OnDisk(Extraction() + "..\\..\\Evil.7z"));
}

TEST_F(DoDbInstallThingsTest, InstallWithoutCopiesStopsAtTheFirstDatabase) {
  AddSamplePackages();
  EXPECT_FALSE(Engine().InstallDatabases(kProgram, nullptr));
  EXPECT_FALSE(OnDisk(kProgram + "Plytki\\Opoczno.mdb"));
}

TEST_F(DoDbInstallThingsTest, HelperLibrariesAreWrittenWhenMissingAndNeverOverwritten) {
  AddSamplePackages();
  world.AddResource("LIB7Z", "library one");
  world.AddResource("LIBB1", "library two");
  auto& engine = Engine();
  const fs::path own7z = world.HostPath(kSystem + "7z.dll");
  fs::create_directories(own7z.parent_path());
  test::WriteTree(own7z.parent_path(), {{"7z.dll", "the machine's own"}});
  ASSERT_TRUE(engine.PrepareHelperLibraries());
  EXPECT_EQ(SlurpFile(own7z), "the machine's own");
  EXPECT_EQ(SlurpFile(world.HostPath(kSystem + "cc3290mt.dll")), "library two");
  EXPECT_FALSE(OnDisk("C:\\windows\\system32\\cc3290mt.dll"));
}

TEST_F(DoDbInstallThingsTest, MissingHelperLibraryResourceFailsThePreparation) {
  AddSamplePackages();
  world.AddResource("LIB7Z", "library one");
  EXPECT_FALSE(Engine().PrepareHelperLibraries());
  EXPECT_TRUE(OnDisk(kSystem + "7z.dll"));
}

TEST_F(DoDbInstallThingsTest, ExitQuestionWithoutDisplayReadsNoAndFatalErrorEndsWithCodeThree) {
  AddSamplePackages();
  auto& engine = Engine();
  // The message box would wait for a person on a display.
  const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
  const std::string wayland = std::getenv("WAYLAND_DISPLAY") ? std::getenv("WAYLAND_DISPLAY") : "";
  ::setenv("DISPLAY", "", 1);
  ::setenv("WAYLAND_DISPLAY", "", 1);
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(engine.ConfirmExit());
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("Are you sure"), std::string::npos);
  EXPECT_EXIT(engine.FatalError("broken installer"), ::testing::ExitedWithCode(3),
              "Notice: broken installer");
  ::setenv("DISPLAY", display.c_str(), 1);
  ::setenv("WAYLAND_DISPLAY", wayland.c_str(), 1);
}

}  // namespace
}  // namespace dbinst

namespace dbinst {
namespace {

TEST_F(DoDbInstallThingsTest, ACopyThatFillsTheTemporaryDiskFailsItsDatabaseForWantOfSpace) {
  AddPackage(1,
             "[info]\r\nBAZA=Big\r\n[INSTALL]\r\nTYPE=TILES\r\nTARGETNAME=Big.mdb\r\n"
             "TARGETSIZE=1000000\r\n",
             {{"Big.mdb", test::PatternBytes(1000000, 4)}}, "-m0=copy");
  auto& engine = Engine();
  const fs::path temp =
      world.HostPath(WithoutTrailingBackslash(engine.FileOp().Shell().TempFolder));
  const fs::path saved = temp.string() + ".saved";
  fs::rename(temp, saved);
  fs::create_directories(temp);
  if (::mount("tmpfs", temp.c_str(), "tmpfs", 0, "size=256k") != 0) {
    fs::remove(temp);
    fs::rename(saved, temp);
    GTEST_SKIP() << "no tmpfs can be mounted here";
  }
  fs::copy(saved, temp, fs::copy_options::recursive);
  EXPECT_TRUE(engine.CopyArchives(&progress));
  EXPECT_FALSE(engine.InstallDatabases(kProgram, &progress));
  ::umount2(temp.c_str(), MNT_DETACH);
  ASSERT_EQ(engine.Outcomes().size(), 1u);
  EXPECT_EQ(engine.Outcomes()[0].Failure, EInstallFailure::NoSpace);
  EXPECT_FALSE(OnDisk(kProgram + "Plytki\\Big.mdb"));
  EXPECT_FALSE(OnDisk(kProgram + "cad_db_install_transaction"));
}

TEST_F(DoDbInstallThingsTest, TargetSizesThatCannotBeBelievedGiveWayToTheListedSize) {
  TDatabaseEmbedded database;
  database.TargetSize = 120;
  EXPECT_EQ(TDoDbInstallThings::EffectiveTargetSize(database), 120) << "nothing listed yet";
  database.ListedSize = 200;
  EXPECT_EQ(TDoDbInstallThings::EffectiveTargetSize(database), 120);
  database.TargetSize = 99;
  EXPECT_EQ(TDoDbInstallThings::EffectiveTargetSize(database), 200) << "far below the list";
  database.TargetSize = -5;
  EXPECT_EQ(TDoDbInstallThings::EffectiveTargetSize(database), 200);
  database.TargetSize = int64_t{1} << 50;
  EXPECT_EQ(TDoDbInstallThings::EffectiveTargetSize(database), 200);
}

}  // namespace
}  // namespace dbinst
