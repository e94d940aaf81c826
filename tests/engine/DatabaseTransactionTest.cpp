#include "engine/DatabaseTransaction.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Machine.h"
#include "platform/Text.h"
#include "tests/support/SevenZipArchives.h"
#include "tests/support/TempPrefix.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;
using test::SlurpFile;
using test::WriteTree;

const std::string kProgram = "C:\\Orvane 2\\";
const std::string kTiles = kProgram + "Plytki\\";

// Every file below a host folder and its bytes, relative paths with '/'.
std::map<std::string, std::string> TreeOf(const fs::path& root) {
  std::map<std::string, std::string> tree;
  if (!fs::exists(root)) return tree;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string relative = fs::relative(entry.path(), root).generic_string();
    tree[relative] = entry.is_directory() ? "<folder>" : SlurpFile(entry.path());
  }
  return tree;
}

class DatabaseTransactionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The program as a user has it: an older tiles database and a file of the user's own.
    WriteTree(Host(kTiles), {{"Opoczno.ini", "old ini"},
                             {"Opoczno.mdb", "old data"},
                             {"Opoczno/pictures/a.jpg", "old picture"},
                             {"moje notatki.txt", "the user's own"}});
    before = TreeOf(Host(kProgram));
  }
  fs::path Host(const std::string& windowsPath) const {
    return machine->files().HostPath(windowsPath);
  }
  // Stages the new database as the archive layer would unpack it.
  std::vector<ArchiveItem> Stage(TDatabaseTransaction& transaction) {
    WriteTree(Host(transaction.StagingFolder()), {{"Opoczno.ini", "new ini"},
                                                  {"Opoczno.mdb", "new data!"},
                                                  {"Opoczno/pictures/a.jpg", "new picture"},
                                                  {"Opoczno/pictures/b.jpg", "added"}});
    return {{"Opoczno.ini", 7, false},
            {"Opoczno.mdb", 9, false},
            {"Opoczno", 0, true},
            {"Opoczno/pictures/a.jpg", 11, false},
            {"Opoczno/pictures/b.jpg", 5, false}};
  }
  TDatabaseTransaction Transaction() {
    return TDatabaseTransaction(machine->files(), folders, "Opoczno", kTiles);
  }

  test::TempPrefix prefix;
  std::unique_ptr<Machine> machine = prefix.OpenMachine();
  const TTransactionFolders folders = TransactionFoldersOf(kProgram);
  std::map<std::string, std::string> before;
};

TEST_F(DatabaseTransactionTest, CommitPutsEveryNewFileInPlaceAndTouchesNothingElse) {
  TDatabaseTransaction transaction = Transaction();
  ASSERT_TRUE(transaction.Begin());
  std::string problem;
  ASSERT_TRUE(transaction.Verify(Stage(transaction), problem)) << problem;
  EInstallFailure failure = EInstallFailure::NoSpace;
  ASSERT_TRUE(transaction.Commit(failure, problem)) << problem;
  EXPECT_EQ(failure, EInstallFailure::None);
  EXPECT_EQ(SlurpFile(Host(kTiles + "Opoczno.mdb")), "new data!");
  EXPECT_EQ(SlurpFile(Host(kTiles + "Opoczno\\pictures\\b.jpg")), "added");
  EXPECT_EQ(SlurpFile(Host(kTiles + "moje notatki.txt")), "the user's own");
  EXPECT_EQ(TreeOf(Host(folders.Work)), (std::map<std::string, std::string>{}))
      << "staging, backups and journal are gone";
}

TEST_F(DatabaseTransactionTest, AFileThatCannotBeReplacedPutsEverythingBack) {
  // Write-protected by its owner, and last in the order of the swap.
  ASSERT_TRUE(machine->files().SetReadOnly(kTiles + "Opoczno\\pictures\\a.jpg", true));
  before = TreeOf(Host(kProgram));
  TDatabaseTransaction transaction = Transaction();
  ASSERT_TRUE(transaction.Begin());
  std::string problem;
  ASSERT_TRUE(transaction.Verify(Stage(transaction), problem));
  EInstallFailure failure = EInstallFailure::None;
  EXPECT_FALSE(transaction.Commit(failure, problem));
  EXPECT_EQ(failure, EInstallFailure::WriteProtected);
  EXPECT_NE(problem.find("a.jpg cannot be replaced"), std::string::npos) << problem;
  std::map<std::string, std::string> after = TreeOf(Host(kProgram));
  after.erase("cad_db_install_transaction");
  EXPECT_EQ(after, before);
}

TEST_F(DatabaseTransactionTest, ANewDatabaseRolledBackLeavesNoFolderItMade) {
  const std::string lamps = kProgram + "dodatki\\Lamps\\";
  TDatabaseTransaction transaction(machine->files(), folders, "Lamps", lamps);
  ASSERT_TRUE(transaction.Begin());
  WriteTree(Host(transaction.StagingFolder()), {{"models/lamp.txt", "lamp"}, {"zz.txt", "last"}});
  std::string problem;
  ASSERT_TRUE(transaction.Verify({{"models/lamp.txt", 4, false}, {"zz.txt", 4, false}}, problem));
  // The last file can no longer be moved once the first is in place.
  fs::remove(Host(transaction.StagingFolder() + "zz.txt"));
  EInstallFailure failure = EInstallFailure::None;
  EXPECT_FALSE(transaction.Commit(failure, problem));
  EXPECT_EQ(failure, EInstallFailure::WriteProtected);
  // dodatki, Lamps and models were made by the swap; none of them is left.
  EXPECT_FALSE(fs::exists(Host(kProgram + "dodatki")));
}

TEST_F(DatabaseTransactionTest, VerifyRefusesWhatWasNotUnpackedWhole) {
  TDatabaseTransaction transaction = Transaction();
  ASSERT_TRUE(transaction.Begin());
  std::vector<ArchiveItem> items = Stage(transaction);
  std::string problem;
  items[1].size = 10;
  EXPECT_FALSE(transaction.Verify(items, problem));
  EXPECT_NE(problem.find("Opoczno.mdb"), std::string::npos) << problem;
  items = Stage(transaction);
  items.push_back({"opoczno.INI", 7, false});
  EXPECT_FALSE(transaction.Verify(items, problem));
  EXPECT_NE(problem.find("twice"), std::string::npos) << problem;
  EXPECT_FALSE(transaction.Verify({{"missing.txt", 0, false}}, problem));
  EXPECT_FALSE(transaction.Verify({{"../escape.txt", 1, false}}, problem));
  transaction.RollBack();
  EXPECT_EQ(TreeOf(Host(kProgram)).count("cad_db_install_transaction/staging"), 0u);
}

TEST_F(DatabaseTransactionTest, AnInterruptedSwapIsUndoneAtTheNextStart) {
  // What a kill in the middle of the swap leaves: the ini moved in (its old copy kept aside),
  // the data file moved aside but not yet replaced, the pictures still staged.
  const std::map<std::string, std::string> program = TreeOf(Host(kProgram));
  TInstallJournal journal{"Opoczno", kTiles, ETransactionPhase::Swapping, {}, {}};
  journal.CreatedFolders = {};
  journal.Files = {"Opoczno.ini", "Opoczno.mdb", "Opoczno\\pictures\\a.jpg",
                   "Opoczno\\pictures\\b.jpg"};
  FileSystem& files = machine->files();
  ASSERT_TRUE(files.CreateFolders(folders.Backup + "Opoczno\\pictures"));
  ASSERT_TRUE(WriteJournal(files, folders.Journal, journal));
  WriteTree(Host(folders.Staging),
            {{"Opoczno/pictures/a.jpg", "new picture"}, {"Opoczno/pictures/b.jpg", "added"}});
  ASSERT_TRUE(files.MoveFile(kTiles + "Opoczno.ini", folders.Backup + "Opoczno.ini", false));
  WriteTree(Host(kTiles), {{"Opoczno.ini", "new ini"}});
  ASSERT_TRUE(files.MoveFile(kTiles + "Opoczno.mdb", folders.Backup + "Opoczno.mdb", false));

  const std::vector<std::string> log = RecoverProgramFolder(files, kProgram);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].find("Rolled back the interrupted installation of database Opoczno"),
            std::string::npos)
      << log[0];
  std::map<std::string, std::string> after = TreeOf(Host(kProgram));
  after.erase("cad_db_install_transaction");
  EXPECT_EQ(after, before);
}

TEST_F(DatabaseTransactionTest, ACommittedInstallationIsFinishedAtTheNextStart) {
  TInstallJournal journal{"Opoczno", kTiles, ETransactionPhase::Committed, {}, {"Opoczno.mdb"}};
  FileSystem& files = machine->files();
  ASSERT_TRUE(files.CreateFolders(WithoutTrailingBackslash(folders.Backup)));
  ASSERT_TRUE(WriteJournal(files, folders.Journal, journal));
  WriteTree(Host(folders.Backup), {{"Opoczno.mdb", "old data"}});
  WriteTree(Host(kTiles), {{"Opoczno.mdb", "new data!"}});
  const std::vector<std::string> log = RecoverProgramFolder(files, kProgram);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].find("it was complete"), std::string::npos) << log[0];
  EXPECT_EQ(SlurpFile(Host(kTiles + "Opoczno.mdb")), "new data!");
  EXPECT_EQ(TreeOf(Host(folders.Work)), (std::map<std::string, std::string>{}));
}

TEST_F(DatabaseTransactionTest, BackupsWithoutAReadableJournalAreKept) {
  FileSystem& files = machine->files();
  WriteTree(Host(folders.Backup), {{"Opoczno.mdb", "old data"}});
  WriteTree(Host(folders.Work), {{"journal.txt", "database installation journal 1\nphase swa"}});
  const std::vector<std::string> log = RecoverProgramFolder(files, kProgram);
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].find("damaged journal"), std::string::npos) << log[0];
  EXPECT_EQ(SlurpFile(Host(folders.Backup + "Opoczno.mdb")), "old data");
  EXPECT_TRUE(RecoverProgramFolder(files, "C:\\Never installed\\").empty());
}

TEST_F(DatabaseTransactionTest, OneInstallerAtATimeWorksInAProgramFolder) {
  FileSystem& files = machine->files();
  auto first = LockProgramFolder(files, folders);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(LockProgramFolder(files, folders), nullptr);
  EXPECT_EQ(RecoverProgramFolder(files, kProgram).size(), 1u) << "a live installer is left alone";
  first.reset();
  EXPECT_FALSE(fs::exists(Host(folders.Lock)));
  EXPECT_NE(LockProgramFolder(files, folders), nullptr);
}

}  // namespace
}  // namespace dbinst
