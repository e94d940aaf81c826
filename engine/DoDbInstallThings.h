#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/CadAppInstalled.h"
#include "engine/InstallResult.h"
#include "engine/TargetPrograms.h"
#include "env/Enums.h"
#include "payload/DatabaseEmbedded.h"
#include "payload/LogicalDrive.h"
#include "payload/SevenZipReader.h"

namespace dbinst {

class Machine;
class FileLock;
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
// How an engine starts: to install, or only to look (nothing is written, not even the
// descriptions into the temporary folder, and nothing interrupted is put right).
enum class EEngineStart { ToInstall, ToLookOnly };

class TDoDbInstallThings {
 public:
  TDoDbInstallThings(Machine& machine, TGeneralMod& module,
                     EEngineStart start = EEngineStart::ToInstall);
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
  // Ends the process with code 2 when the user says yes; false otherwise. During the
  // installation a yes stops it at its next step, which puts back the database in progress,
  // removes the extraction folder and then ends the process.
  bool ConfirmExit();
  // Shows the text and ends the process with code 3.
  [[noreturn]] void FatalError(std::string_view text);

  // The drives without room for the installation into the program folder: the archives' copies
  // on the extraction folder's drive, the databases on the program's (both, when they share
  // one). Lists each archive to know its unpacked size.
  TSpaceShortageVec SpaceShortages(std::string_view programFolder);
  // Copies every archive out of the resources into the extraction folder, shown on the view
  // when one is given.
  bool CopyArchives(ProgressView* view);
  // Installs each copied archive into its kind's folder as a whole or not at all; false when any
  // database failed. The outcome of each is kept.
  bool InstallDatabases(std::string_view programFolder, ProgressView* view);
  const std::vector<TDatabaseOutcome>& Outcomes() const { return outcomes_; }
  // The size a database needs unpacked: its TARGETSIZE, or the listed size where that is
  // negative, absurd or far below it.
  static int64_t EffectiveTargetSize(const TDatabaseEmbedded& database);

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
  void RecoverInterruptedInstallations();
  std::string HelperLibraryFolder() const;
  bool WriteMissingLibrary(const std::string& folder, std::string_view resource,
                           std::string_view file);
  bool RemoveExtractionFolder();
  int64_t TotalArchiveSize() const;
  int64_t TotalTargetSize() const;
  bool IsInstallable(const TDatabaseEmbedded& database) const;
  void ShowActivity(InstallProgress& progress, int key, const TDatabaseEmbedded& database);
  bool InstallOne(std::string_view programFolder, TDatabaseEmbedded& database,
                  InstallProgress& progress);
  EInstallFailure TransactionFailure(std::string_view programFolder, EArchiveFailure archive,
                                     const TDatabaseEmbedded& database) const;
  void Fail(const TDatabaseEmbedded& database, EInstallFailure failure, std::string detail);
  void FailEvery(EInstallFailure failure, const std::string& detail);
  // The databases the installation never reached fail for the reason the last one did.
  void FailUnattempted();
  bool Cancelled() const { return cancelRequested_; }
  // After a quit the user confirmed while the installation ran.
  [[noreturn]] void EndCancelledInstallation();

  Machine& machine_;
  TGeneralMod& module_;
  TDatabaseEmbeddedVecAfterTypeMap catalogue_;
  TTargetProgramLists lists_;
  std::unique_ptr<MyFileOp> fileOp_;
  MessageWindow* messageWindow_ = nullptr;
  std::vector<TDatabaseOutcome> outcomes_;
  // What the copy step found wrong with each archive copy, by its archive resource.
  std::map<std::string, EInstallFailure> copyFailures_;
  std::unique_ptr<FileLock> programLock_;
  std::string programWorkFolder_;
  // Why a database without an archive copy has none.
  EInstallFailure copyStepFailure_ = EInstallFailure::WriteProtected;
  bool installing_ = false;
  bool cancelRequested_ = false;
};

// The target name (or "DB" and the position from 1) with the extension ".7z".
std::string ArchiveCopyName(const TDatabaseEmbedded& database, int position);

}  // namespace dbinst
