#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/InstallJournal.h"
#include "engine/InstallResult.h"
#include "payload/SevenZipReader.h"

namespace dbinst {

class FileLock;
class FileSystem;

// Where the installations into one program work: a folder inside the program folder, so that
// staged files reach their places by renaming.
struct TTransactionFolders {
  std::string Work;     // "<program>\cad_db_install_transaction\"
  std::string Staging;  // the new database, unpacked
  std::string Backup;   // the files it replaces, until it is complete
  std::string Journal;
  std::string Lock;
};

TTransactionFolders TransactionFoldersOf(std::string_view programFolder);

// The lock that keeps a second installer out of the program folder; null while another holds it
// or when the folder cannot be written.
std::unique_ptr<FileLock> LockProgramFolder(FileSystem& files, const TTransactionFolders& folders);

// One database installed whole or not at all: unpacked into the staging folder and checked, then
// moved into place file by file with each file it replaces kept aside, and only then are the
// old files dropped. Until Commit succeeds, destroying it puts everything back as it was.
class TDatabaseTransaction {
 public:
  TDatabaseTransaction(FileSystem& files, TTransactionFolders folders, std::string database,
                       std::string installFolder);
  ~TDatabaseTransaction();
  TDatabaseTransaction(const TDatabaseTransaction&) = delete;
  TDatabaseTransaction& operator=(const TDatabaseTransaction&) = delete;

  // An empty staging folder and the journal; false when the program folder takes no writing.
  bool Begin();
  const std::string& StagingFolder() const { return folders_.Staging; }
  // Every item the archive lists is in the staging folder, each file with its listed size.
  bool Verify(const std::vector<ArchiveItem>& items, std::string& problem);
  // Moves the staged files into place; on failure everything is put back first.
  bool Commit(EInstallFailure& failure, std::string& problem);
  void RollBack();

 private:
  bool Swap(std::string& problem);
  bool MoveIntoPlace(const std::string& file, std::string& problem);
  std::vector<std::string> FoldersToCreate() const;
  void DropWork();

  FileSystem& files_;
  TTransactionFolders folders_;
  TInstallJournal journal_;
  std::vector<std::string> stagedFolders_;
  bool begun_ = false;
  bool done_ = false;
};

// Finishes what an installation that was interrupted (a crash, a kill) left in the program
// folder: a swap half done is undone, a committed one completed. The lines to log; none when
// nothing was left.
std::vector<std::string> RecoverProgramFolder(FileSystem& files, std::string_view programFolder);

}  // namespace dbinst
