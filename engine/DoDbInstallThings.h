#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/CadAppInstalled.h"
#include "engine/TargetPrograms.h"
#include "env/Enums.h"
#include "payload/DatabaseEmbedded.h"
#include "payload/LogicalDrive.h"

namespace dbinst {

class Machine;
class InstallProgress;
class MessageWindow;
class MyFileOp;
class ProgressView;
class TGeneralMod;

using EDatabaseTypeVec = std::vector<EDatabaseType>;

inline constexpr std::string_view kFirstHelperLibraryResource = "LIB7Z";
inline constexpr std::string_view kFirstHelperLibraryFile = "7z.dll";
inline constexpr std::string_view kSecondHelperLibraryResource = "LIBB1";
inline constexpr std::string_view kSecondHelperLibraryFile = "cc3290mt.dll";

// Installs the databases the installer carries into one program folder; reads the catalogue and
// finds the target programs when it is built.
class TDoDbInstallThings {
 public:
  TDoDbInstallThings(Machine& machine, TGeneralMod& module);
  ~TDoDbInstallThings();
  TDoDbInstallThings(const TDoDbInstallThings&) = delete;
  TDoDbInstallThings& operator=(const TDoDbInstallThings&) = delete;

  // True when 7z.dll and cc3290mt.dll are in the system folder afterwards; never overwrites.
  bool PrepareHelperLibraries();
  int DatabaseCount() const;
  bool AnyNewFormat() const;
  EDatabaseTypeVec DatabaseKinds() const;
  TDatabaseEmbeddedVecAfterTypeMap CatalogueCopy() const { return catalogue_; }

  TCadAppInstalledVec TargetPrograms() const { return lists_.TargetApps; }
  bool CheckProgramFolder(std::string_view folder, EProductLine line, bool& filesPresent,
                          bool& versionsMet) const;
  bool ProgramVersionText(std::string_view folder, EProductLine line, std::string& text) const;
  TDatabaseAndTargetDatePairVec ExistingDatabases(std::string_view programFolder) const;
  bool IsHostRunning() const;

  // The message window once it exists; until then the system message box asks and tells.
  void SetMessageWindow(MessageWindow* window) { messageWindow_ = window; }
  // Ends the process with code 2 when the user says yes; false otherwise.
  bool ConfirmExit();
  // Shows the text and ends the process with code 3.
  [[noreturn]] void FatalError(std::string_view text);

  // Copies every archive out of the resources into the extraction folder, shown on the view
  // when one is given.
  bool CopyArchives(ProgressView* view);
  // Unpacks every copied archive into its kind's folder; false when any database failed.
  bool InstallDatabases(std::string_view programFolder, ProgressView* view);

  // The fixed drives a hand-chosen folder may lie on; one log line per letter.
  TLogicalDriveFoundVec LocalDrives();
  // Bytes free for the user on the drive of the path; -1 when there is no answer.
  int64_t DriveFreeSpace(std::string_view path) const;

  // Where a database goes inside a program folder, with a trailing backslash; empty for no kind.
  std::string InstallFolder(std::string_view programFolder,
                            const TDatabaseEmbedded& database) const;
  // Name, else target name, else the name of the kind.
  std::string DisplayName(const TDatabaseEmbedded& database) const;
  MyFileOp& FileOp() const { return *fileOp_; }
  const TTargetProgramLists& ProgramLists() const { return lists_; }

 private:
  std::string HelperLibraryFolder() const;
  bool WriteMissingLibrary(const std::string& folder, std::string_view resource,
                           std::string_view file);
  bool RemoveExtractionFolder();
  int64_t TotalArchiveSize() const;
  int64_t TotalTargetSize() const;
  bool IsInstallable(const TDatabaseEmbedded& database) const;
  void ShowActivity(InstallProgress& progress, int key, const TDatabaseEmbedded& database);
  bool InstallOne(std::string_view programFolder, TDatabaseEmbedded& database,
                  InstallProgress& progress, bool& extracted);

  Machine& machine_;
  TGeneralMod& module_;
  TDatabaseEmbeddedVecAfterTypeMap catalogue_;
  TTargetProgramLists lists_;
  std::unique_ptr<MyFileOp> fileOp_;
  MessageWindow* messageWindow_ = nullptr;
};

// The target name (or "DB" and the position from 1) with the extension ".7z".
std::string ArchiveCopyName(const TDatabaseEmbedded& database, int position);

}  // namespace dbinst
