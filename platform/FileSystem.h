#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dbinst {

// Drive types with the numbers GetDriveType answers.
enum DriveType : uint32_t {
  kDriveUnknown = 0,
  kDriveNoRootDir = 1,
  kDriveRemovable = 2,
  kDriveFixed = 3,
  kDriveRemote = 4,
  kDriveCdrom = 5,
  kDriveRamdisk = 6,
};

struct DiskSpace {
  int64_t freeToCaller = 0;
  int64_t total = 0;
  int64_t totalFree = 0;
};

struct DirEntry {
  std::string name;  // as stored on disk
  bool isFolder = false;
};

class ReadableFile {
 public:
  virtual ~ReadableFile() = default;
  // Up to size bytes; 0 at the end; -1 on an error.
  virtual int64_t Read(void* buffer, int64_t size) = 0;
  virtual int64_t Size() const = 0;
  virtual bool Seek(int64_t offset) = 0;
};

class WritableFile {
 public:
  virtual ~WritableFile() = default;
  // Bytes written; fewer than size means the disk refused the rest.
  virtual int64_t Write(const void* data, int64_t size) = 0;
  // Flushes and closes; false when the data did not reach the disk.
  virtual bool Close() = 0;
  // Waits until what was written is on the disk itself, so that a crash cannot lose it.
  virtual bool Sync() = 0;
};

// An exclusive lock named by a file, held by one process until it is destroyed (or the process
// ends, however it ends).
class FileLock {
 public:
  virtual ~FileLock() = default;
};

// The machine's file system, spoken in Windows paths ("C:\users\anna\Temp\x.txt"). Every path is
// absolute with a drive letter; each component matches without regard to case.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Entries a FindFirstFile search finds: the last component may hold * and ? wildcards.
  virtual std::vector<DirEntry> Find(std::string_view pattern) const = 0;
  virtual bool FileExists(std::string_view path) const = 0;
  virtual bool FolderExists(std::string_view path) const = 0;
  virtual bool IsReadOnly(std::string_view path) const = 0;
  virtual bool SetReadOnly(std::string_view path, bool readOnly) = 0;
  // Seconds since 1970 (UTC) of the last write; nothing when the path does not exist.
  virtual std::optional<int64_t> LastWriteTime(std::string_view path) const = 0;

  // Creates the folder and every missing parent; true when it exists afterwards.
  virtual bool CreateFolders(std::string_view path) = 0;
  virtual bool DeleteFile(std::string_view path) = 0;
  // The shell's delete: the named file or folder with everything below it, or, with wildcards in
  // the last component, every match. False when nothing was deleted or any part of it failed.
  virtual bool ShellDelete(std::string_view pattern) = 0;

  // Renames a file or a folder on its drive; with replace, an existing file of the new name goes in
  // the same step. False when the target exists (without replace) or the move fails.
  virtual bool MoveFile(std::string_view from, std::string_view to, bool replace) = 0;
  // Removes a folder that holds nothing; false otherwise.
  virtual bool RemoveFolder(std::string_view path) = 0;
  // The lock of that file; null while another process holds it or when it cannot be made.
  virtual std::unique_ptr<FileLock> TryLock(std::string_view path) = 0;

  // Creates or truncates; null when the file cannot be created.
  virtual std::unique_ptr<WritableFile> CreateForWrite(std::string_view path) = 0;
  virtual std::unique_ptr<ReadableFile> OpenForRead(std::string_view path) const = 0;

  // Drive letters that exist ("C", "Z"), in letter order.
  virtual std::vector<std::string> DriveLetters() const = 0;
  // The type of the drive of a root path such as "C:\".
  virtual uint32_t GetDriveType(std::string_view root) const = 0;
  // Drive number 1 = A ... 26 = Z, 0 = the current drive; nothing when the drive cannot be asked.
  virtual std::optional<DiskSpace> GetDiskSpace(int driveNumber) const = 0;
  // The space of the volume that holds the path (or its nearest existing parent), which a folder
  // mounted inside a drive makes another than the drive's.
  virtual std::optional<DiskSpace> GetDiskSpaceAt(std::string_view path) const = 0;

  // The host path behind a Windows path, for messages, logs and refusing paths that reach the
  // host's root; empty when it has none.
  virtual std::string HostPath(std::string_view path) const = 0;
  // The Windows path that a path given on the command line names: a Windows path as it stands,
  // another one taken from the current folder (on a prefix, a host path through its drive).
  virtual std::string PathOfArgument(std::string_view given) const = 0;
};

}  // namespace dbinst
