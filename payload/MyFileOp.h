#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "payload/ArchiveProgress.h"
#include "payload/DatabaseEmbedded.h"
#include "payload/LogicalDrive.h"
#include "payload/SevenZipReader.h"

namespace dbinst {

class FileLock;
class InstallLog;
class Machine;
class ReadableFile;
class ResourceModule;
class ResourceStream;
class ShellOps;
class WritableFile;

inline constexpr std::string_view kExtractionFolderName = "cad_db_extraction_temp";
inline constexpr std::string_view kCheckupFileName =
    "temp_file_for_write_permissions_checkup__safe_to_delete.txt";

// Drives of at most this many bytes are too small to receive databases.
inline constexpr int64_t kSmallestAcceptedDriveSize = 10'000'000'000;
bool IsLargeEnoughDrive(int64_t size);

// The unbroken run of DB01INI/DB01FULL, DB02INI/DB02FULL, ... pairs of a module, with the code
// page each description was written in where the packer recorded it.
TDatabaseEmbeddedVec ListEmbeddedDatabasesOf(const ResourceModule& module);
// One value of a description held in memory: its text, code page, section, key and default.
using DescriptionTextValue =
    std::function<std::string(std::string_view text, uint32_t codePage, std::string_view section,
                              std::string_view key, std::string_view defaultValue)>;
// The catalogue of a module's packages, read where they are.
TDatabaseEmbeddedVecAfterTypeMap ReadCatalogueOf(const ResourceModule& module,
                                                 const DescriptionTextValue& value);

// The installer's file layer; every path is a Windows path on the machine.
class MyFileOp {
 public:
  // claimExtractionFolder: take the extraction folder's lock, as a run that installs does.
  MyFileOp(Machine& machine, InstallLog& log, bool claimExtractionFolder = true);
  ~MyFileOp();

  ShellOps& Shell() const { return *shellOps_; }

  // The catalogue of the packages carried in the installer's resources, grouped by kind; empty
  // when any description cannot be written or read.
  TDatabaseEmbeddedVecAfterTypeMap GetEmbeddedCatalogue();
  // The same catalogue read from the resources in memory, writing nothing anywhere.
  TDatabaseEmbeddedVecAfterTypeMap ReadEmbeddedCatalogue() const;
  // The unbroken run of DB01INI/DB01FULL, DB02INI/DB02FULL, ... pairs.
  TDatabaseEmbeddedVec ListEmbeddedDatabases() const;
  // Writes each description into the extraction folder and reads it back.
  bool LoadEmbeddedDescriptions(TDatabaseEmbeddedVec& databases);
  bool ReadEmbeddedDescription(TDatabaseEmbedded& database) const;
  static TDatabaseEmbeddedVecAfterTypeMap GroupByType(const TDatabaseEmbeddedVec& databases);
  static bool IsCatalogueEntry(const TDatabaseEmbedded& database);
  // The temporary folder followed by "cad_db_extraction_temp\" (numbered while another
  // installer of the same user holds that one).
  std::string GetExtractionFolder() const;
  // Whether the package's database is in the folder of its kind inside a program folder already,
  // and the date of that copy.
  bool FindInstalledDatabase(std::string_view kindFolder, const TDatabaseEmbedded& database,
                             TDatabaseDate& installedDate) const;
  bool ReadInstalledDescription(std::string_view iniPath, TDatabaseBase& base) const;

  // True when a directory search for exactly this path (or pattern) finds anything.
  bool PathExists(std::string_view path) const;
  // A path ending in a backslash loses its contents only; otherwise the entry goes with all below
  // it. False when nothing was deleted, part of it failed, or the path names a whole drive.
  bool DeletePath(std::string_view path, bool silent);
  // True when the folder holds no entry or does not exist.
  bool IsFolderEmpty(std::string_view folder) const;

  // Fixed drives C to Z, larger than the smallest accepted size, whose root takes a new file; one
  // log line per letter.
  TLogicalDriveFoundVec ListLocalDrives();
  // Bytes free for the caller on the drive of the path's first character; -1 for an empty path or
  // when the platform has no answer.
  int64_t GetDriveFreeSpace(std::string_view path) const;
  // 1 for A to 26 for Z by the first character, 0 (the current drive) for anything else.
  int DriveNumberOf(std::string_view path) const;

  // Copies a raw-data resource into a file (module null: the installer's own), telling its
  // progress when hooks are given. True when the whole resource is in the file.
  bool ExtractResourceToFile(const ResourceModule* module, std::string_view resourceName,
                             std::string_view destinationPath,
                             const ResourceCopyHooks* hooks = nullptr);
  // Unpacks a 7z archive below a folder, telling its progress when hooks are given; true when
  // every item was written.
  bool ExtractArchive(std::string_view archivePath, std::string_view destinationFolder,
                      const ArchiveProgressHooks* hooks = nullptr);
  // Why the last archive extraction failed; empty after a success.
  const std::string& LastArchiveError() const { return lastArchiveError_; }
  EArchiveFailure LastArchiveFailure() const { return lastArchiveFailure_; }
  // The items of the last archive listed, as the archive lists them.
  const std::vector<ArchiveItem>& LastArchiveItems() const { return lastArchiveItems_; }
  // The listed items of an archive held in a resource, read without writing it anywhere; false
  // with the reason when it does not open.
  bool ListResourceArchive(std::string_view resourceName, std::vector<ArchiveItem>& items,
                           std::string& error);
  const ArchiveProgress& ArchiveProgressContext() const { return archiveProgress_; }

 private:
  std::string ExamineDrive(char letter, TLogicalDriveFoundVec& found);
  bool NamesWholeDrive(std::string_view path) const;
  std::vector<std::string> InstalledDescriptionCandidates(std::string_view kindFolder,
                                                          const TDatabaseEmbedded& database) const;
  bool PrepareResourceDestination(std::string_view destinationPath);
  bool CopyResourceChunks(ResourceStream& resource, WritableFile& file,
                          const ResourceCopyHooks* hooks);
  bool ExtractOpenedArchive(ReadableFile& archive, std::string_view destinationFolder,
                            const ArchiveProgressHooks* hooks);
  bool BeforeArchiveItem(uint32_t index, const std::string& destinationPath);
  void ClaimExtractionFolder();

  Machine& machine_;
  InstallLog& log_;
  const std::string driveLetters_ = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::unique_ptr<ShellOps> shellOps_;
  std::unique_ptr<FileLock> extractionLock_;
  std::string extractionFolderName_;
  ArchiveProgress archiveProgress_;
  std::string lastArchiveError_;
  EArchiveFailure lastArchiveFailure_ = EArchiveFailure::None;
  std::vector<ArchiveItem> lastArchiveItems_;
};

}  // namespace dbinst
