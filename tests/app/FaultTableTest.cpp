// What the installer does to a user's program when things go wrong, run as a user would: the
// built installer, a real prefix, real archives. In every case the database the user had and a
// file of the user's own are byte for byte as they were, unless the new database went in whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "payload/SevenZipReader.h"
#include "tests/app/WizardWorld.h"
#include "tests/support/ElfFiles.h"
#include "tests/support/SevenZipArchives.h"
#include "tests/support/TempPrefix.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;
using test::JsonValue;
using test::MainObject;
using test::SlurpFile;

const std::string kTiles = test::kOrvane + "Plytki\\";
const std::string kWork = test::kOrvane + "cad_db_install_transaction";
const std::string kDescription =
    "[info]\r\nBAZA=Ceramika 2026\r\nMDATE=2026-3-1\r\n[INSTALL]\r\nTYPE=TILES\r\n"
    "TARGETNAME=Ceramika.mdb\r\n";
const std::string kPassword = "-p" + std::string(kArchivePassword);

// The new version; small pictures in numbers make its unpacking take a while.
test::ArchiveFiles NewFiles(size_t dataSize, int pictures = 0) {
  test::ArchiveFiles files = {
      {"Ceramika.ini", "[info]\r\nBAZA=Ceramika 2026\r\nMDATE=2026-3-1\r\n"},
      {"Ceramika.mdb", test::PatternBytes(dataSize, 7)},
      {"Ceramika/pic.jpg", "new picture"},
      {"Ceramika/new.jpg", "a picture the old version lacked"}};
  for (int i = 0; i < pictures; ++i) {
    files.push_back({"Ceramika/many/" + std::to_string(i) + ".jpg", std::string(64, 'p')});
  }
  return files;
}

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

class FaultTableTest : public ::testing::Test {
 protected:
  // Orvane 2 with the previous version of the tiles database and a file of the user's own.
  void Build(size_t dataSize = 4000, const std::string& options = "-mhe=on", int pictures = 0) {
    world.AddPrograms(1);
    world.AddPackage("Ceramika", kDescription, NewFiles(dataSize, pictures), options);
    world.Build();
    test::WriteTree(Host(kTiles), {{"Ceramika.ini",
                                    "[info]\r\nBAZA=Ceramika 2025\r\n"
                                    "MDATE=2025-1-1\r\n"},
                                   {"Ceramika.mdb", test::PatternBytes(3000, 3)},
                                   {"Ceramika/pic.jpg", "old picture"},
                                   {"moje notatki.txt", "the user's own"}});
    before = TreeOf(Host(kTiles));
  }
  fs::path Host(const std::string& windowsPath) const { return world.HostPath(windowsPath); }
  std::string Temp() { return "C:\\users\\" + world.Builder().User() + "\\Temp\\"; }
  // Through the welcome, choice and overwrite pages: the installation runs in the last click.
  JsonValue Install(test::InstallerSession& wizard) {
    try {
      wizard.Do("click ButtonMkay");
      wizard.Do("click ButtonMkay");
      wizard.Do("click ButtonMkay");
      return wizard.Dump();
    } catch (const std::exception& error) {
      ADD_FAILURE() << error.what() << "\n" << wizard.Errors();
      return {};
    }
  }
  // The final page of a failed installation, then its exit code.
  void ExpectFailurePage(const JsonValue& dump, const std::string& reason) {
    EXPECT_EQ(MainObject(dump, "TabControlMain")["selected"].str(), "TabItem05Final");
    EXPECT_TRUE(MainObject(dump, "ImageFinalWarning")["visible"].boolean());
    EXPECT_FALSE(MainObject(dump, "Image2")["visible"].boolean());
    const std::string failures = MainObject(dump, "TextFinalFailures")["text"].str();
    EXPECT_NE(failures.find(" - Ceramika 2026: " + reason), std::string::npos) << failures;
  }
  int Finish(test::InstallerSession& wizard) {
    wizard.Write("click ButtonMkay\n");
    return wizard.Finish();
  }
  void ExpectUntouched() {
    EXPECT_EQ(TreeOf(Host(kTiles)), before);
    EXPECT_FALSE(fs::exists(Host(kWork))) << "the transaction's folder is left behind";
  }
  // The package's archive in the installer replaced, past the packer's checks.
  void ReplaceArchive(const std::string& bytes) { world.UpdateResource("DB01FULL", bytes); }
  std::string ArchiveOf(const test::ArchiveFiles& files, const std::string& options) {
    const fs::path archive = world.Root() / "other.7z";
    fs::remove(archive);
    EXPECT_TRUE(test::Make7z(archive, files, options));
    return SlurpFile(archive);
  }
  // Starts the installation and holds it inside the unpacking: the exit question, asked there,
  // waits for its answer while the codec is in the middle of the archive.
  void PauseInTheUnpacking(test::InstallerSession& wizard) {
    wizard.Do("click ButtonMkay");
    wizard.Do("click ButtonMkay");
    wizard.Write("click ButtonMkay\n");
    ASSERT_TRUE(WaitForStaging());
    wizard.Write("click ButtonExit\n");
    ASSERT_TRUE(WaitForQuestion(wizard));
  }
  bool WaitForQuestion(test::InstallerSession& wizard) {
    for (int i = 0; i < 2000; ++i) {
      const JsonValue dump = wizard.Send("dump");
      if (dump["windows"].Has("FormMessage")) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }
  // Waits until the installation unpacks into its staging folder.
  bool WaitForStaging() {
    const fs::path staging = Host(kWork + "\\staging");
    for (int i = 0; i < 20000; ++i) {
      if (fs::exists(staging)) return true;
      std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return false;
  }

  test::WizardWorld world;
  std::map<std::string, std::string> before;
};

TEST_F(FaultTableTest, ANewVersionReplacesTheOldOneWholeAndLeavesTheUsersFile) {
  Build();
  auto wizard = world.Start();
  const JsonValue dump = Install(*wizard);
  EXPECT_TRUE(MainObject(dump, "Image2")["visible"].boolean());
  EXPECT_EQ(Finish(*wizard), 0);
  EXPECT_EQ(SlurpFile(Host(kTiles + "Ceramika.mdb")), test::PatternBytes(4000, 7));
  EXPECT_EQ(SlurpFile(Host(kTiles + "Ceramika\\new.jpg")), "a picture the old version lacked");
  EXPECT_EQ(SlurpFile(Host(kTiles + "moje notatki.txt")), "the user's own");
  EXPECT_FALSE(fs::exists(Host(kWork)));
  EXPECT_FALSE(fs::exists(Host(Temp() + "cad_db_extraction_temp")));
}

TEST_F(FaultTableTest, DamagedArchivesLeaveTheInstalledDatabaseAsItWas) {
  Build(200000, "-mhe=on -m0=copy");
  std::string archive = SlurpFile(world.Root() / "packages" / "Ceramika.7z");
  for (size_t i = 0; i < 64; ++i) archive[archive.size() / 2 + i] ^= 0x5A;
  ReplaceArchive(archive);
  auto wizard = world.Start();
  ExpectFailurePage(Install(*wizard), "damaged archive");
  EXPECT_EQ(Finish(*wizard), 4);
  ExpectUntouched();
}

TEST_F(FaultTableTest, ATruncatedArchiveLeavesTheInstalledDatabaseAsItWas) {
  Build(200000, "-mhe=on -m0=copy");
  const std::string archive = SlurpFile(world.Root() / "packages" / "Ceramika.7z");
  ReplaceArchive(archive.substr(0, archive.size() / 2));
  auto wizard = world.Start();
  ExpectFailurePage(Install(*wizard), "damaged archive");
  EXPECT_EQ(Finish(*wizard), 4);
  ExpectUntouched();
}

TEST_F(FaultTableTest, AnArchiveUnderAnotherPasswordIsNamedSo) {
  Build();
  ReplaceArchive(ArchiveOf(NewFiles(4000), "-psomething_else -mhe=on"));
  auto wizard = world.Start();
  ExpectFailurePage(Install(*wizard), "wrong password");
  EXPECT_EQ(Finish(*wizard), 4);
  ExpectUntouched();
}

TEST_F(FaultTableTest, ItemsLeavingTheirFolderFailTheDatabaseAndWriteNothingOutside) {
  Build();
  const fs::path source = world.Root() / "evil" / "inner";
  test::WriteTree(source, {{"Ceramika.mdb", "evil data"}});
  test::WriteTree(world.Root() / "evil", {{"victim.txt", "escaped"}});
  const fs::path archive = world.Root() / "evil.7z";
  ASSERT_TRUE(test::Run7zzAdd(archive, source, kPassword + " -spf", "Ceramika.mdb ../victim.txt"));
  ReplaceArchive(SlurpFile(archive));
  auto wizard = world.Start();
  ExpectFailurePage(Install(*wizard), "damaged archive");
  EXPECT_EQ(Finish(*wizard), 4);
  ExpectUntouched();
  for (const auto& entry : fs::recursive_directory_iterator(world.Prefix())) {
    EXPECT_NE(entry.path().filename(), "victim.txt") << entry.path();
  }
}

TEST_F(FaultTableTest, AWriteProtectedFileFailsTheDatabaseWhichIsPutBack) {
  Build();
  fs::permissions(Host(kTiles + "Ceramika\\pic.jpg"),
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  before = TreeOf(Host(kTiles));
  auto wizard = world.Start();
  ExpectFailurePage(Install(*wizard), "write-protected");
  EXPECT_EQ(Finish(*wizard), 4);
  ExpectUntouched();
}

TEST_F(FaultTableTest, AWriteProtectedProgramFolderIsReportedAndNothingChanges) {
  Build();
  test::UnwritableFolder locked(Host(test::kOrvane).string());
  if (!locked.usable()) GTEST_SKIP() << "the immutable flag cannot be set here";
  auto wizard = world.Start();
  ExpectFailurePage(Install(*wizard), "write-protected");
  EXPECT_EQ(Finish(*wizard), 4);
  ExpectUntouched();
}

// A small file system of its own at a host folder, with the folder's former contents.
class SmallDisk {
 public:
  SmallDisk(const fs::path& folder, const std::string& size) : folder_(folder) {
    const fs::path saved = folder.string() + ".saved";
    fs::rename(folder, saved);
    fs::create_directories(folder);
    mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
    if (mounted_) fs::copy(saved, folder, fs::copy_options::recursive);
    fs::remove_all(saved);
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }

 private:
  fs::path folder_;
  bool mounted_ = false;
};

TEST_F(FaultTableTest, AProgramFolderWithoutRoomIsRefusedBeforeAnythingIsWritten) {
  Build(3 << 20, "-mhe=on -m0=copy");
  SmallDisk disk(Host(test::kOrvane), "1m");
  if (!disk.mounted()) GTEST_SKIP() << "no tmpfs can be mounted here";
  before = TreeOf(Host(kTiles));
  auto wizard = world.Start();
  const JsonValue dump = Install(*wizard);
  EXPECT_TRUE(MainObject(dump, "ImageFinalWarning")["visible"].boolean());
  const std::string text = MainObject(dump, "TextFinalFailures")["text"].str();
  EXPECT_NE(text.find("There is not enough space on the selected disk."), std::string::npos)
      << text;
  EXPECT_NE(text.find("C: Required disk space: 3 MB"), std::string::npos) << text;
  EXPECT_NE(text.find("C: Available disk space: "), std::string::npos) << text;
  EXPECT_EQ(Finish(*wizard), 4);
  ExpectUntouched();
}

TEST_F(FaultTableTest, ADiskThatFillsWhileUnpackingIsNamedAndThePreviousDatabaseStays) {
  // Many small files: their few bytes pass the check, the blocks they take fill the disk.
  world.AddPrograms(1);
  test::ArchiveFiles files = NewFiles(100);
  for (int i = 0; i < 400; ++i) files.push_back({"Ceramika/many/" + std::to_string(i), "x"});
  world.AddPackage("Ceramika", kDescription, files);
  world.Build();
  test::WriteTree(Host(kTiles), {{"Ceramika.ini", "[info]\r\nBAZA=Ceramika 2025\r\n"},
                                 {"Ceramika.mdb", "old data"},
                                 {"moje notatki.txt", "mine"}});
  SmallDisk disk(Host(test::kOrvane), "512k");
  if (!disk.mounted()) GTEST_SKIP() << "no tmpfs can be mounted here";
  before = TreeOf(Host(kTiles));
  auto wizard = world.Start();
  ExpectFailurePage(Install(*wizard), "no space on the disk");
  EXPECT_EQ(Finish(*wizard), 4);
  ExpectUntouched();
}

TEST_F(FaultTableTest, ATemporaryFolderWithoutRoomForTheArchivesIsRefusedUpFront) {
  Build(3 << 20, "-mhe=on -m0=copy");
  SmallDisk disk(Host(Temp()), "1m");
  if (!disk.mounted()) GTEST_SKIP() << "no tmpfs can be mounted here";
  auto wizard = world.Start();
  const JsonValue dump = Install(*wizard);
  const std::string text = MainObject(dump, "TextFinalFailures")["text"].str();
  EXPECT_NE(text.find("There is not enough space on the selected disk."), std::string::npos)
      << text;
  EXPECT_EQ(Finish(*wizard), 4);
  ExpectUntouched();
}

TEST_F(FaultTableTest, AQuitDuringTheUnpackingPutsEverythingBackTwentyTimesInARow) {
  Build(1 << 20, "-mhe=on -m0=copy", 1500);
  for (int round = 0; round < 20; ++round) {
    auto wizard = world.Start();
    PauseInTheUnpacking(*wizard);
    wizard->Write("answer yes\n");
    EXPECT_EQ(wizard->Finish(), 2) << round << "\n" << wizard->Errors();
    ExpectUntouched();
    EXPECT_FALSE(fs::exists(Host(Temp() + "cad_db_extraction_temp"))) << round;
    if (HasFailure()) break;
  }
}

TEST_F(FaultTableTest, AQuitWhileTheArchivesAreCopiedRemovesTheCopiesAndTouchesNothing) {
  Build(8 << 20, "-mhe=on -m0=copy");
  auto wizard = world.Start();
  wizard->Do("click ButtonMkay");
  wizard->Do("click ButtonMkay");
  wizard->Write("click ButtonMkay\n");
  const fs::path copy = Host(Temp() + "cad_db_extraction_temp\\Ceramika.7z");
  bool copying = false;
  for (int i = 0; i < 20000 && !copying; ++i) {
    copying = fs::exists(copy);
    if (!copying) std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  ASSERT_TRUE(copying);
  wizard->Write("click ButtonExit\n");
  ASSERT_TRUE(WaitForQuestion(*wizard));
  wizard->Write("answer yes\n");
  EXPECT_EQ(wizard->Finish(), 2);
  ExpectUntouched();
  EXPECT_FALSE(fs::exists(Host(Temp() + "cad_db_extraction_temp")));
}

TEST_F(FaultTableTest, AKilledInstallationIsRolledBackAtTheNextStartWhichThenInstallsWhole) {
  Build(1 << 20, "-mhe=on -m0=copy", 1500);
  {
    auto wizard = world.Start();
    PauseInTheUnpacking(*wizard);
    ::kill(wizard->pid(), SIGKILL);
    EXPECT_EQ(wizard->Finish(), -1);
  }
  EXPECT_EQ(TreeOf(Host(kTiles)), before) << "the unpacking had not reached the program";
  auto wizard = world.Start();
  const std::vector<std::string> log = wizard->Log();
  const bool recovered = std::any_of(log.begin(), log.end(), [](const std::string& line) {
    return line.rfind("Rolled back the interrupted installation of database Ceramika 2026", 0) == 0;
  });
  std::string joined;
  for (const std::string& line : log) joined += line + "\n";
  EXPECT_TRUE(recovered) << "the log does not say what was put right:\n" << joined;
  ExpectUntouched();
  Install(*wizard);
  EXPECT_EQ(Finish(*wizard), 0);
  EXPECT_EQ(SlurpFile(Host(kTiles + "Ceramika\\new.jpg")), "a picture the old version lacked");
  EXPECT_EQ(fs::file_size(Host(kTiles + "Ceramika.mdb")), 1u << 20);
}

TEST_F(FaultTableTest, ASecondInstallerIntoTheSameProgramSaysSoAndTheFirstFinishes) {
  Build(1 << 20, "-mhe=on -m0=copy", 1500);
  auto first = world.Start();
  PauseInTheUnpacking(*first);
  auto second = world.Start();
  ExpectFailurePage(Install(*second), "in use by another installer");
  EXPECT_EQ(Finish(*second), 4);
  // The question's answer, the exit click's and, once the installation is done, the install
  // click's.
  first->Write("answer no\n");
  JsonValue answer;
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(first->ReadAnswer(answer)) << i;
  EXPECT_EQ(Finish(*first), 0);
  EXPECT_EQ(fs::file_size(Host(kTiles + "Ceramika.mdb")), 1u << 20);
  EXPECT_EQ(SlurpFile(Host(kTiles + "moje notatki.txt")), "the user's own");
}

TEST_F(FaultTableTest, AUserRegistryWriteCutBeforeItsRenameLeavesTheOldFileWhole) {
  Build();
  const fs::path userReg = fs::path(world.Prefix()) / "user.reg";
  const std::string old = SlurpFile(userReg);
  // What a crash between the new file and the rename leaves: the new file, half written.
  test::WriteWholeFile(fs::path(world.Prefix()) / ".dbinst-user.reg.cut123",
                       old.substr(0, old.size() / 2));
  auto wizard = world.Start();
  EXPECT_FALSE(wizard->Log().empty());
  wizard->Do("answer yes");
  wizard->Write("close\n");
  EXPECT_EQ(wizard->Finish(), 2);
  const std::string now = SlurpFile(userReg);
  EXPECT_NE(now.find("\"ScreenSaveActive\"=\"0\""), std::string::npos);
  EXPECT_GT(now.size(), old.size() / 2);
}

}  // namespace
}  // namespace dbinst
