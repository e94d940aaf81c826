#include "engine/DatabaseTransaction.h"

#include <algorithm>
#include <set>
#include <utility>

#include "payload/ArchivePaths.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace dbinst {
namespace {

constexpr std::string_view kWorkFolderName = "cad_db_install_transaction";

// "C:\a\b\" for "C:\a\b\c.txt" or "C:\a\b\c\"; empty at the drive.
std::string ParentFolder(std::string_view path) {
  const std::string bare = WithoutTrailingBackslash(path);
  const size_t slash = bare.rfind('\\');
  return slash == std::string::npos ? std::string() : bare.substr(0, slash + 1);
}

size_t Depth(const std::string& folder) { return std::count(folder.begin(), folder.end(), '\\'); }

bool HasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

int64_t FileSize(const FileSystem& files, const std::string& path) {
  auto file = files.OpenForRead(path);
  return file ? file->Size() : -1;
}

void RemoveTree(FileSystem& files, const std::string& folder) {
  const std::string bare = WithoutTrailingBackslash(folder);
  if (files.FolderExists(bare)) files.ShellDelete(bare);
}

bool HoldsAnything(const FileSystem& files, const std::string& folder) {
  return files.FolderExists(folder) && !files.Find(folder + "*").empty();
}

// Takes back what a swap moved: each replaced file from the backup, each new one removed, then
// the folders the swap made, deepest first, where they are empty again.
void UndoSwap(FileSystem& files, const TTransactionFolders& folders,
              const TInstallJournal& journal) {
  for (auto it = journal.Files.rbegin(); it != journal.Files.rend(); ++it) {
    const std::string placed = journal.InstallFolder + *it;
    const std::string kept = folders.Backup + *it;
    if (files.FileExists(kept)) {
      if (files.FileExists(placed)) files.DeleteFile(placed);
      files.MoveFile(kept, placed, false);
    } else if (!files.FileExists(folders.Staging + *it) && files.FileExists(placed)) {
      files.DeleteFile(placed);
    }
  }
  for (auto it = journal.CreatedFolders.rbegin(); it != journal.CreatedFolders.rend(); ++it) {
    files.RemoveFolder(WithoutTrailingBackslash(*it));
  }
}

void DropTransactionFiles(FileSystem& files, const TTransactionFolders& folders) {
  RemoveTree(files, folders.Staging);
  RemoveTree(files, folders.Backup);
  files.DeleteFile(folders.Journal);
}

}  // namespace

TTransactionFolders TransactionFoldersOf(std::string_view programFolder) {
  const std::string work =
      WithTrailingBackslash(programFolder) + std::string(kWorkFolderName) + "\\";
  return {work, work + "staging\\", work + "backup\\", work + "journal.txt", work + "lock"};
}

std::unique_ptr<FileLock> LockProgramFolder(FileSystem& files, const TTransactionFolders& folders) {
  // Another installer may remove the work folder between our making it and our lock.
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (!files.CreateFolders(WithoutTrailingBackslash(folders.Work))) return nullptr;
    if (auto lock = files.TryLock(folders.Lock)) return lock;
    if (files.FileExists(folders.Lock)) return nullptr;
  }
  return nullptr;
}

TDatabaseTransaction::TDatabaseTransaction(FileSystem& files, TTransactionFolders folders,
                                           std::string database, std::string installFolder)
    : files_(files), folders_(std::move(folders)) {
  journal_.Database = std::move(database);
  journal_.InstallFolder = WithTrailingBackslash(installFolder);
}

TDatabaseTransaction::~TDatabaseTransaction() {
  if (begun_ && !done_) RollBack();
}

// The journal comes first, so that whatever a crash leaves in the staging folder is known.
bool TDatabaseTransaction::Begin() {
  begun_ = true;
  journal_.Phase = ETransactionPhase::Extracting;
  if (!files_.CreateFolders(WithoutTrailingBackslash(folders_.Work)) ||
      !WriteJournal(files_, folders_.Journal, journal_)) {
    return false;
  }
  RemoveTree(files_, folders_.Staging);
  return files_.CreateFolders(WithoutTrailingBackslash(folders_.Staging));
}

bool TDatabaseTransaction::Verify(const std::vector<ArchiveItem>& items, std::string& problem) {
  journal_.Files.clear();
  stagedFolders_.clear();
  std::set<std::string> seen;
  for (const ArchiveItem& item : items) {
    const auto relative = RelativePathInside(item.path);
    if (!relative || relative->empty() || HasControlCharacter(*relative)) {
      problem = "\"" + item.path + "\" cannot be installed under that name";
      return false;
    }
    // Two items of one name (in any case) would each replace the other, and the undo with them.
    if (!seen.insert(ToUpper(*relative)).second) {
      problem = "\"" + item.path + "\" is in the archive twice";
      return false;
    }
    const std::string staged = folders_.Staging + *relative;
    if (item.isFolder) {
      if (!files_.FolderExists(staged)) {
        problem = "the folder \"" + item.path + "\" was not unpacked";
        return false;
      }
      stagedFolders_.push_back(*relative);
    } else if (FileSize(files_, staged) != static_cast<int64_t>(item.size)) {
      problem = "\"" + item.path + "\" was not unpacked whole";
      return false;
    } else {
      journal_.Files.push_back(*relative);
    }
  }
  return true;
}

std::vector<std::string> TDatabaseTransaction::FoldersToCreate() const {
  std::set<std::string> wanted;
  for (std::string folder = journal_.InstallFolder; !folder.empty() && !files_.FolderExists(folder);
       folder = ParentFolder(folder)) {
    wanted.insert(folder);
  }
  const auto addParents = [&](const std::string& path) {
    for (std::string folder = ParentFolder(path); folder.size() > journal_.InstallFolder.size();
         folder = ParentFolder(folder)) {
      wanted.insert(folder);
    }
  };
  for (const std::string& file : journal_.Files) addParents(journal_.InstallFolder + file);
  for (const std::string& folder : stagedFolders_) {
    addParents(journal_.InstallFolder + folder + "\\x");
  }
  std::vector<std::string> missing;
  for (const std::string& folder : wanted) {
    if (!files_.FolderExists(folder)) missing.push_back(folder);
  }
  std::stable_sort(missing.begin(), missing.end(),
                   [](const std::string& a, const std::string& b) { return Depth(a) < Depth(b); });
  return missing;
}

bool TDatabaseTransaction::Commit(EInstallFailure& failure, std::string& problem) {
  failure = EInstallFailure::None;
  if (!Swap(problem)) {
    failure = EInstallFailure::WriteProtected;
    RollBack();
    return false;
  }
  journal_.Phase = ETransactionPhase::Committed;
  // Every file is in place: even without this record the database is whole, so nothing undoes it.
  WriteJournal(files_, folders_.Journal, journal_);
  done_ = true;
  DropWork();
  return true;
}

bool TDatabaseTransaction::Swap(std::string& problem) {
  journal_.CreatedFolders = FoldersToCreate();
  journal_.Phase = ETransactionPhase::Swapping;
  if (!WriteJournal(files_, folders_.Journal, journal_)) {
    problem = "the journal of the installation cannot be written in " + folders_.Work;
    return false;
  }
  for (const std::string& folder : journal_.CreatedFolders) {
    if (!files_.CreateFolders(WithoutTrailingBackslash(folder))) {
      problem = "the folder " + folder + " cannot be created";
      return false;
    }
  }
  for (const std::string& file : journal_.Files) {
    if (!MoveIntoPlace(file, problem)) return false;
  }
  return true;
}

bool TDatabaseTransaction::MoveIntoPlace(const std::string& file, std::string& problem) {
  const std::string placed = journal_.InstallFolder + file;
  if (files_.FolderExists(placed)) {
    problem = "a folder stands where " + placed + " goes";
    return false;
  }
  if (files_.FileExists(placed)) {
    const std::string kept = folders_.Backup + file;
    // A write-protected file is one its owner did not want changed.
    if (files_.IsReadOnly(placed) ||
        !files_.CreateFolders(WithoutTrailingBackslash(ParentFolder(kept))) ||
        !files_.MoveFile(placed, kept, false)) {
      problem = placed + " cannot be replaced";
      return false;
    }
  }
  if (!files_.MoveFile(folders_.Staging + file, placed, false)) {
    problem = placed + " cannot be written";
    return false;
  }
  return true;
}

void TDatabaseTransaction::RollBack() {
  if (!begun_ || done_) return;
  done_ = true;
  if (journal_.Phase == ETransactionPhase::Swapping) UndoSwap(files_, folders_, journal_);
  DropWork();
}

void TDatabaseTransaction::DropWork() { DropTransactionFiles(files_, folders_); }

namespace {

std::vector<std::string> Recover(FileSystem& files, const TTransactionFolders& folders) {
  bool damaged = false;
  const auto journal = ReadJournal(files, folders.Journal, damaged);
  if (!journal) {
    const bool staged = HoldsAnything(files, folders.Staging);
    RemoveTree(files, folders.Staging);
    files.DeleteFile(folders.Journal);
    // Without a journal nobody knows where the backups belong, so they are kept.
    if (HoldsAnything(files, folders.Backup)) {
      return {"An interrupted installation left files in " + folders.Backup +
              (damaged ? " and a damaged journal" : "") + "; they are kept"};
    }
    if (staged) return {"Removed the unpacked files an interrupted installation left"};
    return {};
  }
  if (journal->Phase == ETransactionPhase::Committed) {
    DropTransactionFiles(files, folders);
    return {"Finished the interrupted installation of database " + journal->Database + " into " +
            journal->InstallFolder + ": it was complete"};
  }
  if (journal->Phase == ETransactionPhase::Swapping) UndoSwap(files, folders, *journal);
  DropTransactionFiles(files, folders);
  return {"Rolled back the interrupted installation of database " + journal->Database + " into " +
          journal->InstallFolder};
}

}  // namespace

std::vector<std::string> RecoverProgramFolder(FileSystem& files, std::string_view programFolder) {
  const TTransactionFolders folders = TransactionFoldersOf(programFolder);
  const std::string work = WithoutTrailingBackslash(folders.Work);
  if (!files.FolderExists(work)) return {};
  std::vector<std::string> log;
  {
    const std::unique_ptr<FileLock> lock = files.TryLock(folders.Lock);
    if (!lock) return {"Another installer is working in " + folders.Work + "; its files stay"};
    log = Recover(files, folders);
  }
  files.RemoveFolder(work);
  return log;
}

}  // namespace dbinst
