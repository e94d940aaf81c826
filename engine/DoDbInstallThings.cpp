#include "engine/DoDbInstallThings.h"

#include <set>

#include "engine/DatabaseTransaction.h"
#include "engine/InstallProgress.h"
#include "engine/MessageWindow.h"
#include "env/GeneralMod.h"
#include "env/TextKeys.h"
#include "payload/MyFileOp.h"
#include "payload/ResourceFile.h"
#include "payload/ShellOps.h"
#include "platform/ExitCodes.h"
#include "platform/FileSystem.h"
#include "platform/Machine.h"
#include "platform/MessageBox.h"
#include "platform/ProcessExit.h"
#include "platform/SystemInfo.h"
#include "platform/Text.h"

namespace dbinst {
namespace {

// Larger sizes in a description are no database's; a terabyte leaves room for any real one.
constexpr int64_t kLargestTargetSize = int64_t{1} << 40;

int64_t Sum(const std::vector<ArchiveItem>& items) {
  int64_t total = 0;
  for (const ArchiveItem& item : items) total += static_cast<int64_t>(item.size);
  return total;
}

std::string DriveOf(std::string_view path) { return ToUpper(path.substr(0, 2)); }

// Bytes free for the user where the path lies; -1 when the machine cannot say.
int64_t FreeSpaceAt(const FileSystem& files, std::string_view path) {
  const auto space = files.GetDiskSpaceAt(path);
  return space ? space->freeToCaller : -1;
}

}  // namespace

std::string ArchiveCopyName(const TDatabaseEmbedded& database, int position) {
  const std::string base =
      database.TargetName.empty() ? "DB" + std::to_string(position) : database.TargetName;
  return ChangeFileExtension(base, ".7z");
}

TDoDbInstallThings::TDoDbInstallThings(Machine& machine, TGeneralMod& module, EEngineStart start)
    : machine_(machine),
      module_(module),
      fileOp_(std::make_unique<MyFileOp>(machine, module.Log(), start == EEngineStart::ToInstall)) {
  if (start == EEngineStart::ToInstall) {
    RecoverInterruptedInstallations();
    catalogue_ = fileOp_->GetEmbeddedCatalogue();
  } else {
    catalogue_ = fileOp_->ReadEmbeddedCatalogue();
  }
  FindTargetPrograms(*fileOp_, module_, catalogue_, lists_);
}

TDoDbInstallThings::~TDoDbInstallThings() = default;

// A crash or a kill in the middle of an installation into a program of the family is put right
// before this run reads or writes anything else; a folder chosen by hand is when it is chosen.
void TDoDbInstallThings::RecoverInterruptedInstallations() {
  std::set<std::string> folders;
  for (const auto& [line, folder] : module_.CurrentInstallations()) {
    if (!folder.empty()) folders.insert(ToUpper(WithTrailingBackslash(folder)));
  }
  for (const std::string& folder : folders) {
    for (const std::string& line : RecoverProgramFolder(machine_.files(), folder)) {
      module_.Log().AddLine(line);
    }
  }
}

std::string TDoDbInstallThings::DisplayName(const TDatabaseEmbedded& database) const {
  if (!database.Name.empty()) return database.Name;
  if (!database.TargetName.empty()) return database.TargetName;
  return module_.DatabaseTypeName(database.Type);
}

// The target name names a file and a folder inside the extraction and program folders; one that
// would climb out of them is refused.
bool TDoDbInstallThings::IsInstallable(const TDatabaseEmbedded& database) const {
  return MyFileOp::IsCatalogueEntry(database) &&
         (database.TargetName.empty() || IsPlainFileName(database.TargetName));
}

std::string TDoDbInstallThings::HelperLibraryFolder() const {
  const SystemInfo& system = machine_.system();
  const std::string answer =
      module_.Is64Bit() ? system.SystemWow64Directory() : system.SystemDirectory();
  return WithTrailingBackslash(answer.empty() ? fileOp_->Shell().SystemFolder : answer);
}

bool TDoDbInstallThings::WriteMissingLibrary(const std::string& folder, std::string_view resource,
                                             std::string_view file) {
  const std::string path = folder + std::string(file);
  FileSystem& files = machine_.files();
  if (!files.FileExists(path)) fileOp_->ExtractResourceToFile(nullptr, resource, path);
  return files.FileExists(path);
}

bool TDoDbInstallThings::PrepareHelperLibraries() {
  const std::string folder = HelperLibraryFolder();
  const bool first =
      WriteMissingLibrary(folder, kFirstHelperLibraryResource, kFirstHelperLibraryFile);
  const bool second =
      WriteMissingLibrary(folder, kSecondHelperLibraryResource, kSecondHelperLibraryFile);
  return first && second;
}

int TDoDbInstallThings::DatabaseCount() const {
  size_t count = 0;
  for (const auto& [kind, databases] : catalogue_) count += databases.size();
  return static_cast<int>(count);
}

bool TDoDbInstallThings::AnyNewFormat() const {
  for (const auto& [kind, databases] : catalogue_) {
    for (const TDatabaseEmbedded& database : databases) {
      if (database.FormatFdb) return true;
    }
  }
  return false;
}

EDatabaseTypeVec TDoDbInstallThings::DatabaseKinds() const {
  EDatabaseTypeVec kinds;
  for (const auto& [kind, databases] : catalogue_) {
    if (!databases.empty()) kinds.push_back(kind);
  }
  return kinds;
}

bool TDoDbInstallThings::CheckProgramFolder(std::string_view folder, EProductLine line,
                                            bool& filesPresent, bool& versionsMet) const {
  TProgramFolderCheck check;
  if (!dbinst::CheckProgramFolder(*fileOp_, module_, folder, line, check)) return false;
  filesPresent = check.FilesPresent;
  versionsMet = check.VersionsMet;
  return true;
}

bool TDoDbInstallThings::ProgramVersionText(std::string_view folder, EProductLine line,
                                            std::string& text) const {
  return dbinst::ProgramVersionText(*fileOp_, module_, folder, line, text);
}

TDatabaseAndTargetDatePairVec TDoDbInstallThings::ExistingDatabases(
    std::string_view programFolder) const {
  TDatabaseAndTargetDatePairVec existing;
  for (const auto& [kind, databases] : catalogue_) {
    for (const TDatabaseEmbedded& database : databases) {
      TDatabaseDate date;
      const std::string kindFolder = module_.DatabaseFolder(programFolder, database.Type);
      if (fileOp_->FindInstalledDatabase(kindFolder, database, date)) {
        existing.emplace_back(database, date);
      }
    }
  }
  return existing;
}

bool TDoDbInstallThings::IsHostRunning() const {
  const std::vector<std::string> watched = {module_.FixedNames().cadHostExecutable};
  for (const std::string& executable : watched) {
    if (fileOp_->Shell().IsProcessRunning(executable)) return true;
  }
  return false;
}

TLogicalDriveFoundVec TDoDbInstallThings::LocalDrives() { return fileOp_->ListLocalDrives(); }

int64_t TDoDbInstallThings::DriveFreeSpace(std::string_view path) const {
  return fileOp_->GetDriveFreeSpace(path);
}

bool TDoDbInstallThings::ConfirmExit() {
  const std::string& text = module_.Text(TextKey::ExitQuestion);
  const std::string& caption = module_.Text(TextKey::QuestionCaption);
  bool yes = false;
  if (messageWindow_) {
    messageWindow_->Ask(text, caption, false);
    yes = messageWindow_->Answer() == 1;
  } else {
    yes = machine_.messageBox().AskYesNo(text, caption);
  }
  if (!yes) return false;
  // The codec may still run below this call; the installation stops at its next step instead.
  if (installing_) {
    cancelRequested_ = true;
    return false;
  }
  RemoveExtractionFolder();
  ExitProcessWithCode(kExitCodeUserQuit);
}

void TDoDbInstallThings::EndCancelledInstallation() {
  module_.Log().AddLine("The installation was cancelled");
  if (!RemoveExtractionFolder()) {
    module_.Log().AddLine("The extraction folder " + fileOp_->GetExtractionFolder() +
                          " cannot be removed");
  }
  programLock_.reset();
  if (!programWorkFolder_.empty()) machine_.files().RemoveFolder(programWorkFolder_);
  ExitProcessWithCode(kExitCodeUserQuit);
}

void TDoDbInstallThings::FatalError(std::string_view text) {
  const std::string& caption = module_.Text(TextKey::NoticeCaption);
  if (messageWindow_) {
    messageWindow_->Tell(text, caption);
  } else {
    machine_.messageBox().Tell(text, caption);
  }
  // The descriptions read at start are of no use to anybody now.
  RemoveExtractionFolder();
  ExitProcessWithCode(kExitCodeFatal);
}

bool TDoDbInstallThings::RemoveExtractionFolder() {
  const std::string folderName = WithoutTrailingBackslash(fileOp_->GetExtractionFolder());
  if (!fileOp_->PathExists(folderName)) return true;
  machine_.files().SetReadOnly(folderName, false);
  fileOp_->DeletePath(folderName, false);
  return !fileOp_->PathExists(folderName);
}

int64_t TDoDbInstallThings::TotalArchiveSize() const {
  int64_t total = 0;
  for (const auto& [kind, databases] : catalogue_) {
    for (const TDatabaseEmbedded& database : databases) {
      const int64_t size = GetResourceSize(machine_.resources(), database.ArchiveResource);
      if (size > 0) total += size;
    }
  }
  return total;
}

int64_t TDoDbInstallThings::EffectiveTargetSize(const TDatabaseEmbedded& database) {
  const int64_t listed = database.ListedSize;
  if (listed < 0) return database.TargetSize;
  const int64_t stated = database.TargetSize;
  const bool believable = stated >= 0 && stated <= kLargestTargetSize && stated >= listed / 2;
  return believable ? stated : listed;
}

int64_t TDoDbInstallThings::TotalTargetSize() const {
  int64_t total = 0;
  for (const auto& [kind, databases] : catalogue_) {
    for (const TDatabaseEmbedded& database : databases) {
      if (MyFileOp::IsCatalogueEntry(database)) total += EffectiveTargetSize(database);
    }
  }
  return total;
}

TSpaceShortageVec TDoDbInstallThings::SpaceShortages(std::string_view programFolder) {
  for (auto& [kind, databases] : catalogue_) {
    for (TDatabaseEmbedded& database : databases) {
      std::vector<ArchiveItem> items;
      std::string error;
      if (fileOp_->ListResourceArchive(database.ArchiveResource, items, error)) {
        database.ListedSize = Sum(items);
      }
    }
  }
  // Where both folders lie on one volume, it must hold both; a volume is known by its figures.
  const std::string extraction = fileOp_->GetExtractionFolder();
  const auto extractionSpace = machine_.files().GetDiskSpaceAt(extraction);
  const auto programSpace = machine_.files().GetDiskSpaceAt(programFolder);
  const bool shared = extractionSpace && programSpace &&
                      extractionSpace->total == programSpace->total &&
                      extractionSpace->totalFree == programSpace->totalFree;
  const int64_t archives = TotalArchiveSize();
  const int64_t databases = TotalTargetSize();
  TSpaceShortageVec shortages;
  const auto check = [&](std::string_view folder, int64_t bytes) {
    const int64_t free = FreeSpaceAt(machine_.files(), folder);
    if (free >= 0 && free < bytes) shortages.push_back({DriveOf(folder), bytes, free});
  };
  if (shared) {
    check(programFolder, archives + databases);
  } else {
    check(extraction, archives);
    check(programFolder, databases);
  }
  return shortages;
}

void TDoDbInstallThings::ShowActivity(InstallProgress& progress, int key,
                                      const TDatabaseEmbedded& database) {
  progress.ShowActivity(FillPlaceholders(module_.Text(key), {DisplayName(database)}));
}

bool TDoDbInstallThings::CopyArchives(ProgressView* view) {
  copyFailures_.clear();
  copyStepFailure_ = EInstallFailure::WriteProtected;
  if (!RemoveExtractionFolder()) return false;
  const std::string folder = fileOp_->GetExtractionFolder();
  if (!machine_.files().CreateFolders(WithoutTrailingBackslash(folder))) return false;
  copyStepFailure_ = EInstallFailure::DamagedArchive;
  installing_ = true;
  InstallProgress progress(view, [this] { return Cancelled(); });
  progress.StartCopying(TotalArchiveSize());

  int position = 0;
  for (auto& [kind, databases] : catalogue_) {
    for (TDatabaseEmbedded& database : databases) {
      ++position;
      if (!IsInstallable(database)) {
        module_.Log().AddLine("Copying the archive of database " + DisplayName(database) +
                              " failed: its description does not make it installable");
        return false;
      }
      const std::string copyPath = folder + ArchiveCopyName(database, position);
      ShowActivity(progress, TextKey::CopyingArchive, database);
      // A copy that fails leaves no archive, which the install step then reports.
      if (!fileOp_->ExtractResourceToFile(nullptr, database.ArchiveResource, copyPath,
                                          progress.ResourceHooks())) {
        if (Cancelled()) EndCancelledInstallation();
        module_.Log().AddLine("Copying the archive of database " + DisplayName(database) + " to " +
                              copyPath + " failed");
        const int64_t size = GetResourceSize(machine_.resources(), database.ArchiveResource);
        copyFailures_[database.ArchiveResource] = FreeSpaceAt(machine_.files(), folder) < size
                                                      ? EInstallFailure::NoSpace
                                                      : EInstallFailure::WriteProtected;
      }
      progress.ProcessMessages();
      if (Cancelled()) EndCancelledInstallation();
      database.ArchiveFile = copyPath;
      database.ArchiveSize = GetResourceSize(machine_.resources(), database.ArchiveResource);
    }
  }
  return true;
}

std::string TDoDbInstallThings::InstallFolder(std::string_view programFolder,
                                              const TDatabaseEmbedded& database) const {
  const std::string kindFolder = module_.DatabaseFolder(programFolder, database.Type);
  switch (database.Type) {
    case EDatabaseType::Tiles:
    case EDatabaseType::Walls:
    case EDatabaseType::Materials:
      return kindFolder;
    case EDatabaseType::Interiors:
    case EDatabaseType::Cabinets:
    case EDatabaseType::HouseholdAppliances:
      return kindFolder + database.TargetName + "\\";
    default:
      return {};
  }
}

void TDoDbInstallThings::Fail(const TDatabaseEmbedded& database, EInstallFailure failure,
                              std::string detail) {
  const std::string name = DisplayName(database);
  module_.Log().AddLine("Installation of database " + name + " failed: " + detail);
  outcomes_.push_back({name, failure, std::move(detail)});
}

void TDoDbInstallThings::FailUnattempted() {
  std::set<std::string> attempted;
  for (const TDatabaseOutcome& outcome : outcomes_) attempted.insert(outcome.Name);
  for (const auto& [kind, databases] : catalogue_) {
    for (const TDatabaseEmbedded& database : databases) {
      if (attempted.insert(DisplayName(database)).second) {
        Fail(database, outcomes_.back().Failure, "the installation stopped at an earlier database");
        outcomes_.back().Skipped = true;
      }
    }
  }
}

void TDoDbInstallThings::FailEvery(EInstallFailure failure, const std::string& detail) {
  for (const auto& [kind, databases] : catalogue_) {
    for (const TDatabaseEmbedded& database : databases) Fail(database, failure, detail);
  }
}

// A file that could not be written means a full drive when the drive has less room left than
// the database needs, and a write-protected folder otherwise.
EInstallFailure TDoDbInstallThings::TransactionFailure(std::string_view programFolder,
                                                       EArchiveFailure archive,
                                                       const TDatabaseEmbedded& database) const {
  switch (archive) {
    case EArchiveFailure::Cancelled:
      return EInstallFailure::Cancelled;
    case EArchiveFailure::WrongPassword:
      return EInstallFailure::WrongPassword;
    case EArchiveFailure::Damaged:
    case EArchiveFailure::Refused:
      return EInstallFailure::DamagedArchive;
    case EArchiveFailure::WriteFailed:
    case EArchiveFailure::None:
      break;
  }
  const int64_t free = FreeSpaceAt(machine_.files(), programFolder);
  return free >= 0 && free < EffectiveTargetSize(database) ? EInstallFailure::NoSpace
                                                           : EInstallFailure::WriteProtected;
}

bool TDoDbInstallThings::InstallOne(std::string_view programFolder, TDatabaseEmbedded& database,
                                    InstallProgress& progress) {
  const std::string name = DisplayName(database);
  if (!IsInstallable(database) || database.ArchiveFile.empty()) {
    Fail(database, copyStepFailure_, "it has no archive copy to unpack");
    return false;
  }
  const std::string folder = InstallFolder(programFolder, database);
  if (folder.empty()) {
    Fail(database, EInstallFailure::DamagedArchive, "its kind has no folder");
    return false;
  }
  ShowActivity(progress, TextKey::InstallingDatabase, database);
  const float startPosition = progress.OverallPosition();
  TDatabaseTransaction transaction(machine_.files(), TransactionFoldersOf(programFolder), name,
                                   folder);
  std::string problem;
  EInstallFailure failure = EInstallFailure::None;
  if (const auto copy = copyFailures_.find(database.ArchiveResource); copy != copyFailures_.end()) {
    failure = copy->second;
    problem = "its archive could not be copied to " + database.ArchiveFile;
  } else if (!transaction.Begin()) {
    failure = TransactionFailure(programFolder, EArchiveFailure::WriteFailed, database);
    problem = "nothing can be written in " + programWorkFolder_;
  } else if (!fileOp_->ExtractArchive(database.ArchiveFile, transaction.StagingFolder(),
                                      progress.ArchiveHooks())) {
    failure = TransactionFailure(programFolder, fileOp_->LastArchiveFailure(), database);
    problem = database.ArchiveFile + " was not fully extracted to " + folder + ": " +
              fileOp_->LastArchiveError();
  } else if (!transaction.Verify(fileOp_->LastArchiveItems(), problem)) {
    failure = EInstallFailure::DamagedArchive;
  } else {
    transaction.Commit(failure, problem);
  }
  if (failure != EInstallFailure::None) {
    transaction.RollBack();
    Fail(database, failure, problem);
  } else {
    outcomes_.push_back({name, EInstallFailure::None, {}, Sum(fileOp_->LastArchiveItems())});
  }
  progress.FinishDatabase(startPosition, EffectiveTargetSize(database));
  return true;
}

bool TDoDbInstallThings::InstallDatabases(std::string_view programFolder, ProgressView* view) {
  outcomes_.clear();
  installing_ = true;
  for (const std::string& line : RecoverProgramFolder(machine_.files(), programFolder)) {
    module_.Log().AddLine(line);
  }
  InstallProgress progress(view, [this] { return Cancelled(); });
  progress.StartInstalling(TotalTargetSize());
  const TTransactionFolders folders = TransactionFoldersOf(programFolder);
  programWorkFolder_ = WithoutTrailingBackslash(folders.Work);
  FileSystem& files = machine_.files();
  if (!files.CreateFolders(programWorkFolder_)) {
    FailEvery(EInstallFailure::WriteProtected, "nothing can be written in " + programWorkFolder_);
    installing_ = false;
    return false;
  }
  programLock_ = LockProgramFolder(files, folders);
  if (!programLock_) {
    FailEvery(EInstallFailure::InUse,
              "another installer is installing into " + std::string(programFolder));
    installing_ = false;
    return false;
  }
  bool complete = true;
  for (auto& [kind, databases] : catalogue_) {
    for (TDatabaseEmbedded& database : databases) {
      if (Cancelled()) EndCancelledInstallation();
      complete = InstallOne(programFolder, database, progress);
      if (!complete) break;
    }
    if (!complete) break;
  }
  if (Cancelled()) EndCancelledInstallation();
  programLock_.reset();
  files.RemoveFolder(programWorkFolder_);
  installing_ = false;
  if (!complete) {
    FailUnattempted();
    return false;
  }
  // The databases are in place; a folder left behind in the temporary folder changes nothing.
  if (!RemoveExtractionFolder()) {
    module_.Log().AddLine("The extraction folder " + fileOp_->GetExtractionFolder() +
                          " could not be removed");
  }
  for (const TDatabaseOutcome& outcome : outcomes_) {
    if (outcome.Failure != EInstallFailure::None) return false;
  }
  return true;
}

}  // namespace dbinst
