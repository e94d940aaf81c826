#include "engine/DoDbInstallThings.h"

#include "engine/MessageWindow.h"
#include "engine/ShellOps.h"
#include "env/GeneralMod.h"
#include "env/MessagePump.h"
#include "payload/MyFileOp.h"
#include "payload/ResourceFile.h"
#include "platform/FileSystem.h"
#include "platform/Machine.h"
#include "platform/MessageBox.h"
#include "platform/SystemInfo.h"
#include "platform/Text.h"
#include "ui/TvgProgressBar.h"
#include "ui/TvgText.h"

namespace dbinst {
namespace {

constexpr int kCopyingArchiveKey = 244;
constexpr int kInstallingDatabaseKey = 152;
constexpr int kExitQuestionKey = 242;
constexpr int kQuestionCaptionKey = 19;
constexpr int kNoticeCaptionKey = 20;

void ShowActivity(TvgText* activity, int key, const TDatabaseEmbedded& database) {
  if (!activity) return;
  activity->SetText(FillPlaceholders(GeneralMod->Text(key), {DisplayNameOfDatabase(database)}));
  ProcessMessages();
}

void LogFailure(const std::string& line) { GeneralMod->Log().AddLine(line); }

void ResetBars(TvgProgressBar& mainBar, TvgProgressBar& subBar, double mainMax, double mainValue) {
  mainBar.SetMin(0);
  mainBar.SetMax(static_cast<float>(mainMax));
  mainBar.SetValue(static_cast<float>(mainValue));
  subBar.SetMin(0);
  subBar.SetMax(100);
  subBar.SetValue(0);
  ProcessMessages();
}

}  // namespace

std::string DisplayNameOfDatabase(const TDatabaseEmbedded& database) {
  if (!database.Name.empty()) return database.Name;
  if (!database.TargetName.empty()) return database.TargetName;
  return GeneralMod->DatabaseTypeName(database.Type);
}

std::string ArchiveCopyName(const TDatabaseEmbedded& database, int position) {
  const std::string base =
      database.TargetName.empty() ? "DB" + std::to_string(position) : database.TargetName;
  return ChangeFileExtension(base, ".7z");
}

namespace {

// The target name names a file and a folder inside the extraction and program folders; one that
// would climb out of them is refused.
bool IsInstallable(const TDatabaseEmbedded& database) {
  return MyFileOp::IsCatalogueEntry(database) &&
         (database.TargetName.empty() || IsPlainFileName(database.TargetName));
}

}  // namespace

TDoDbInstallThings::TDoDbInstallThings(Machine& machine)
    : machine_(machine), fileOp_(std::make_unique<MyFileOp>(machine, GeneralMod->Log())) {
  catalogue_ = fileOp_->GetEmbeddedCatalogue();
  FindTargetPrograms(*fileOp_, catalogue_, lists_);
}

TDoDbInstallThings::~TDoDbInstallThings() = default;

std::string TDoDbInstallThings::HelperLibraryFolder() const {
  const SystemInfo& system = machine_.system();
  const std::string answer =
      GeneralMod->Is64Bit() ? system.SystemWow64Directory() : system.SystemDirectory();
  return WithTrailingBackslash(answer.empty() ? fileOp_->Shell().SystemFolder : answer);
}

bool TDoDbInstallThings::WriteMissingLibrary(const std::string& folder, std::string_view resource,
                                             std::string_view file) {
  const std::string path = folder + std::string(file);
  FileSystem& files = machine_.files();
  if (!files.FileExists(path))
    fileOp_->ExtractResourceToFile(nullptr, resource, path, nullptr, nullptr);
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
  if (!dbinst::CheckProgramFolder(*fileOp_, folder, line, check)) return false;
  filesPresent = check.FilesPresent;
  versionsMet = check.VersionsMet;
  return true;
}

bool TDoDbInstallThings::ProgramVersionText(std::string_view folder, EProductLine line,
                                            std::string& text) const {
  return dbinst::ProgramVersionText(*fileOp_, folder, line, text);
}

TDatabaseAndTargetDatePairVec TDoDbInstallThings::ExistingDatabases(
    std::string_view programFolder) const {
  TDatabaseAndTargetDatePairVec existing;
  for (const auto& [kind, databases] : catalogue_) {
    for (const TDatabaseEmbedded& database : databases) {
      TDatabaseDate date;
      if (fileOp_->FindInstalledDatabase(programFolder, database, date)) {
        existing.emplace_back(database, date);
      }
    }
  }
  return existing;
}

bool TDoDbInstallThings::IsHostRunning() const {
  const std::vector<std::string> watched = {GeneralMod->FixedNames().cadHostExecutable};
  for (const std::string& executable : watched) {
    if (fileOp_->Shell().IsProcessRunning(executable)) return true;
  }
  return false;
}

bool TDoDbInstallThings::ConfirmExit() {
  const std::string& text = GeneralMod->Text(kExitQuestionKey);
  const std::string& caption = GeneralMod->Text(kQuestionCaptionKey);
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
  const std::string& caption = GeneralMod->Text(kNoticeCaptionKey);
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

bool TDoDbInstallThings::CopyArchives(TvgProgressBar* mainBar, TvgProgressBar* subBar,
                                      TvgText* activity) {
  if (!RemoveExtractionFolder()) return false;
  const std::string folder = fileOp_->GetExtractionFolder();
  if (!machine_.files().CreateFolders(WithoutTrailingBackslash(folder))) return false;
  if (mainBar && subBar) ResetBars(*mainBar, *subBar, TotalArchiveSize() * 2.5, 0);

  int position = 0;
  for (auto& [kind, databases] : catalogue_) {
    for (TDatabaseEmbedded& database : databases) {
      ++position;
      if (!IsInstallable(database)) {
        LogFailure("Copying the archive of database " + DisplayNameOfDatabase(database) +
                   " failed: its description does not make it installable");
        return false;
      }
      const std::string copyPath = folder + ArchiveCopyName(database, position);
      ShowActivity(activity, kCopyingArchiveKey, database);
      // A copy that fails leaves no archive, which the install step then reports.
      if (!fileOp_->ExtractResourceToFile(nullptr, database.ArchiveResource, copyPath, mainBar,
                                          subBar)) {
        GeneralMod->Log().AddLine("Copying the archive of database " +
                                  DisplayNameOfDatabase(database) + " to " + copyPath + " failed");
      }
      ProcessMessages();
      database.ArchiveFile = copyPath;
      database.ArchiveSize = GetResourceSize(machine_.resources(), database.ArchiveResource);
    }
  }
  return true;
}

std::string TDoDbInstallThings::InstallFolder(std::string_view programFolder,
                                              const TDatabaseEmbedded& database) const {
  const std::string kindFolder = GeneralMod->DatabaseFolder(programFolder, database.Type);
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
                                    TvgProgressBar* mainBar, TvgProgressBar* subBar,
                                    TvgText* activity, bool& extracted) {
  const std::string name = DisplayNameOfDatabase(database);
  if (!IsInstallable(database) || database.ArchiveFile.empty()) {
    LogFailure("Installation of database " + name + " failed: it has no archive copy to unpack");
    return false;
  }
  const std::string folder = WithoutTrailingBackslash(InstallFolder(programFolder, database));
  if (folder.empty()) {
    LogFailure("Installation of database " + name + " failed: its kind has no folder");
    return false;
  }
  FileSystem& files = machine_.files();
  if (!files.FolderExists(folder) && !files.CreateFolders(folder)) {
    LogFailure("Installation of database " + name + " failed: the folder " + folder +
               " cannot be created");
    return false;
  }
  ShowActivity(activity, kInstallingDatabaseKey, database);

  const float startValue = mainBar ? mainBar->Value() : 0.0f;
  extracted = fileOp_->ExtractArchive(database.ArchiveFile, folder + "\\", mainBar, subBar);
  if (!extracted) {
    GeneralMod->Log().AddLine("Installation of database " + DisplayNameOfDatabase(database) +
                              " failed: " + database.ArchiveFile + " was not fully extracted to " +
                              folder);
  }
  if (mainBar && subBar) {
    mainBar->SetValue(startValue + static_cast<float>(database.TargetSize));
    subBar->SetValue(subBar->Max());
    ProcessMessages();
  }
  return true;
}

bool TDoDbInstallThings::InstallDatabases(std::string_view programFolder, TvgProgressBar* mainBar,
                                          TvgProgressBar* subBar, TvgText* activity) {
  if (mainBar && subBar) {
    const double maximum = static_cast<double>(TotalTargetSize()) * 5.0 / 3.0;
    ResetBars(*mainBar, *subBar, maximum, maximum * 0.4);
  }
  bool allExtracted = true;
  for (auto& [kind, databases] : catalogue_) {
    for (TDatabaseEmbedded& database : databases) {
      bool extracted = false;
      if (!InstallOne(programFolder, database, mainBar, subBar, activity, extracted)) return false;
      allExtracted = allExtracted && extracted;
    }
  }
  if (!RemoveExtractionFolder()) return false;
  return allExtracted;
}

}  // namespace dbinst
