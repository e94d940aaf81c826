#include "engine/DoDbInstallThings.h"

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

std::string ArchiveCopyName(const TDatabaseEmbedded& database, int position) {
  const std::string base =
      database.TargetName.empty() ? "DB" + std::to_string(position) : database.TargetName;
  return ChangeFileExtension(base, ".7z");
}

TDoDbInstallThings::TDoDbInstallThings(Machine& machine, TGeneralMod& module)
    : machine_(machine),
      module_(module),
      fileOp_(std::make_unique<MyFileOp>(machine, module.Log())) {
  catalogue_ = fileOp_->GetEmbeddedCatalogue();
  FindTargetPrograms(*fileOp_, module_, catalogue_, lists_);
}

TDoDbInstallThings::~TDoDbInstallThings() = default;

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
  if (yes) ExitProcessWithCode(kExitCodeUserQuit);
  return false;
}

void TDoDbInstallThings::FatalError(std::string_view text) {
  const std::string& caption = module_.Text(TextKey::NoticeCaption);
  if (messageWindow_) {
    messageWindow_->Tell(text, caption);
  } else {
    machine_.messageBox().Tell(text, caption);
  }
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

int64_t TDoDbInstallThings::TotalTargetSize() const {
  int64_t total = 0;
  for (const auto& [kind, databases] : catalogue_) {
    for (const TDatabaseEmbedded& database : databases) {
      if (MyFileOp::IsCatalogueEntry(database)) total += database.TargetSize;
    }
  }
  return total;
}

void TDoDbInstallThings::ShowActivity(InstallProgress& progress, int key,
                                      const TDatabaseEmbedded& database) {
  progress.ShowActivity(FillPlaceholders(module_.Text(key), {DisplayName(database)}));
}

bool TDoDbInstallThings::CopyArchives(ProgressView* view) {
  if (!RemoveExtractionFolder()) return false;
  const std::string folder = fileOp_->GetExtractionFolder();
  if (!machine_.files().CreateFolders(WithoutTrailingBackslash(folder))) return false;
  InstallProgress progress(view);
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
        module_.Log().AddLine("Copying the archive of database " + DisplayName(database) + " to " +
                              copyPath + " failed");
      }
      progress.ProcessMessages();
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

bool TDoDbInstallThings::InstallOne(std::string_view programFolder, TDatabaseEmbedded& database,
                                    InstallProgress& progress, bool& extracted) {
  const std::string name = DisplayName(database);
  InstallLog& log = module_.Log();
  if (!IsInstallable(database) || database.ArchiveFile.empty()) {
    log.AddLine("Installation of database " + name + " failed: it has no archive copy to unpack");
    return false;
  }
  const std::string folder = WithoutTrailingBackslash(InstallFolder(programFolder, database));
  if (folder.empty()) {
    log.AddLine("Installation of database " + name + " failed: its kind has no folder");
    return false;
  }
  FileSystem& files = machine_.files();
  if (!files.FolderExists(folder) && !files.CreateFolders(folder)) {
    log.AddLine("Installation of database " + name + " failed: the folder " + folder +
                " cannot be created");
    return false;
  }
  ShowActivity(progress, TextKey::InstallingDatabase, database);

  const float startPosition = progress.OverallPosition();
  extracted = fileOp_->ExtractArchive(database.ArchiveFile, folder + "\\", progress.ArchiveHooks());
  if (!extracted) {
    log.AddLine("Installation of database " + name + " failed: " + database.ArchiveFile +
                " was not fully extracted to " + folder);
  }
  progress.FinishDatabase(startPosition, database.TargetSize);
  return true;
}

bool TDoDbInstallThings::InstallDatabases(std::string_view programFolder, ProgressView* view) {
  InstallProgress progress(view);
  progress.StartInstalling(TotalTargetSize());
  bool allExtracted = true;
  for (auto& [kind, databases] : catalogue_) {
    for (TDatabaseEmbedded& database : databases) {
      bool extracted = false;
      if (!InstallOne(programFolder, database, progress, extracted)) return false;
      allExtracted = allExtracted && extracted;
    }
  }
  if (!RemoveExtractionFolder()) return false;
  return allExtracted;
}

}  // namespace dbinst
