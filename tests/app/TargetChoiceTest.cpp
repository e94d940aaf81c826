#include "app/TargetChoice.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/DoDbInstallThings.h"
#include "platform/FileSystem.h"
#include "platform/Machine.h"
#include "platform/SystemInfo.h"
#include "tests/app/ShippedTexts.h"
#include "tests/support/EnginePrefix.h"

namespace dbinst {
namespace {

const std::string kOrvane = "C:\\Velmora\\Orvane 2\\";
const std::string kOldOrvane = "C:\\Velmora\\Orvane 1\\";
const std::string kKestrio = "C:\\Velmora\\Kestrio 6\\";
const std::string kPro = "C:\\Velmora\\Orvane PRO\\";

class TargetChoiceTest : public ::testing::Test {
 protected:
  // Programs on drive C that no registry entry names: the folder check alone must find them.
  void Open(bool newFormat) {
    world.Builder().AddProgram("OV", kOrvane).ExecutableVersion("2.3.0.0");
    world.Builder().AddProgram("OV", kOldOrvane).ExecutableVersion("1.9.0.0");
    world.Builder().AddProgram("KS", kKestrio).ExecutableVersion("6.1.0.0");
    world.Builder().AddProgram("OVPRO", kPro).ExecutableVersion("3.0.0.0");
    world.AddResource("DB01INI",
                      std::string("[info]\r\nBAZA=Opoczno\r\n[INSTALL]\r\nTYPE=TILES\r\n") +
                          "TARGETNAME=Opoczno.mdb\r\nTARGETSIZE=10\r\n" +
                          (newFormat ? "FORMATFDB=1\r\n" : ""));
    world.AddResource("DB01FULL", "7z archive bytes are not read by the folder check");
    world.Open();
    engine = std::make_unique<TDoDbInstallThings>(world.machine(), world.module());
  }

  test::EnginePrefix world;
  std::unique_ptr<TDoDbInstallThings> engine;
};

TEST_F(TargetChoiceTest, DisplayNameCarriesTheVersionExceptForProfessionalLines) {
  Open(false);
  const TextOfKey polish = test::ShippedTexts("lang0");
  EXPECT_EQ(ProgramDisplayName({EProductLine::Orvane, kOrvane}, *engine, polish), "Orvane 2.3");
  EXPECT_EQ(ProgramDisplayName({EProductLine::OrvanePro, kPro}, *engine, polish), "Orvane PRO");
  // Kestrio's executable is not in Orvane's folder: the name keeps its space, without a version.
  EXPECT_EQ(ProgramDisplayName({EProductLine::Kestrio, kOrvane}, *engine, polish), "Kestrio ");
  EXPECT_EQ(ProgramDisplayName({static_cast<EProductLine>(9), kOrvane}, *engine, polish),
            "Orvane ");
}

TEST_F(TargetChoiceTest, BrowseStartsAtTheDeepestExistingFolderOfThePathText) {
  Open(false);
  const FileSystem& files = world.machine().files();
  EXPECT_EQ(BrowseStartFolder(kOrvane + "missing\\deeper\\", files), kOrvane);
  EXPECT_EQ(BrowseStartFolder("C:\\Velmora\\Orvane 2", files), kOrvane);
  EXPECT_EQ(BrowseStartFolder("C:\\nothing here", files), "C:\\");
  EXPECT_EQ(BrowseStartFolder("Proszę wybrać katalog", files), "");
  EXPECT_EQ(BrowseStartFolder("Q:\\no such drive\\", files), "");
  EXPECT_EQ(BrowseStartFolder("", files), "");
}

TEST(TargetChoiceRules, OnlyAbsoluteFoldersOnLocalDrivesAreAccepted) {
  const TLocalDriveMap drives = {{"C", {"C", 1, 2}}, {"P", {"P", 1, 2}}};
  EXPECT_TRUE(IsOnLocalDrive("C:\\Velmora\\", drives));
  EXPECT_TRUE(IsOnLocalDrive("c:\\", drives));
  EXPECT_FALSE(IsOnLocalDrive("D:\\Velmora\\", drives));
  EXPECT_FALSE(IsOnLocalDrive("\\\\server\\share\\", drives));
  // The placeholder begins with the letter of a local drive, yet names no folder.
  EXPECT_FALSE(IsOnLocalDrive("Proszę wybrać katalog\\", drives));
  EXPECT_FALSE(IsOnLocalDrive("C:relative\\", drives));
  EXPECT_FALSE(IsOnLocalDrive("", drives));
}

TEST_F(TargetChoiceTest, FolderIsRecognisedByTheFirstLineWhoseFilesItHolds) {
  Open(false);
  EXPECT_EQ(RecogniseProgramFolder(kOrvane, *engine),
            (TCadAppInstalled{EProductLine::Orvane, kOrvane}));
  EXPECT_EQ(RecogniseProgramFolder(kKestrio, *engine).ProductLine, EProductLine::Kestrio);
  EXPECT_EQ(RecogniseProgramFolder(kPro, *engine).ProductLine, EProductLine::OrvanePro);
  EXPECT_EQ(RecogniseProgramFolder(kOldOrvane, *engine).ProductLine, EProductLine::Orvane);
  std::filesystem::create_directories(world.HostPath("C:\\Empty\\"));
  EXPECT_EQ(RecogniseProgramFolder("C:\\Empty\\", *engine), TCadAppInstalled{});
  EXPECT_EQ(RecogniseProgramFolder("C:\\Missing\\", *engine), TCadAppInstalled{});
}

TEST_F(TargetChoiceTest, NewFormatRefusesAProgramBelowItsVersions) {
  Open(true);
  EXPECT_EQ(RecogniseProgramFolder(kOldOrvane, *engine), TCadAppInstalled{});
  EXPECT_EQ(RecogniseProgramFolder(kOrvane, *engine).ProductLine, EProductLine::Orvane);
}

class DiskSpaceTextTest : public ::testing::TestWithParam<bool> {};

TEST_P(DiskSpaceTextTest, FreeSpaceIsWrittenWithTheUsersSeparators) {
  const bool polish = GetParam();
  test::EnginePrefix world;
  if (polish) world.Builder().Polish();
  world.Open();
  const NumberFormat format = world.machine().system().UserNumberFormat();
  const TextOfKey text = test::ShippedTexts(polish ? "lang0" : "lang1");
  const std::string head =
      polish ? "Ilość wolnej przestrzeni na dysku " : "The amount of free disk space ";
  EXPECT_EQ(DiskSpaceText("d:\\Velmora\\", 0, format, text), head + "D: 0 MB");
  EXPECT_EQ(DiskSpaceText("C:\\", 1572864, format, text),
            head + (polish ? "C: 1,5 MB" : "C: 1.5 MB"));
  EXPECT_EQ(DiskSpaceText("C:\\", 1610612736, format, text),
            head + (polish ? "C: 1\u00A0536 MB" : "C: 1,536 MB"));
}

INSTANTIATE_TEST_SUITE_P(PolishAndEnglish, DiskSpaceTextTest, ::testing::Bool());

}  // namespace
}  // namespace dbinst
