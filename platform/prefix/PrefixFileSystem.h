#pragma once

#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "platform/Registry.h"

namespace dbinst {

// The file system of a Wine prefix: drives are the links in dosdevices/, and Windows paths resolve
// through them with each component matched without regard to case.
class PrefixFileSystem : public FileSystem {
 public:
  PrefixFileSystem(std::string prefixHostPath, const Registry& registry);

  std::vector<DirEntry> Find(std::string_view pattern) const override;
  bool FileExists(std::string_view path) const override;
  bool FolderExists(std::string_view path) const override;
  bool IsReadOnly(std::string_view path) const override;
  bool SetReadOnly(std::string_view path, bool readOnly) override;
  std::optional<int64_t> LastWriteTime(std::string_view path) const override;

  bool CreateFolders(std::string_view path) override;
  bool DeleteFile(std::string_view path) override;
  bool ShellDelete(std::string_view pattern) override;

  bool MoveFile(std::string_view from, std::string_view to, bool replace) override;
  bool RemoveFolder(std::string_view path) override;
  std::unique_ptr<FileLock> TryLock(std::string_view path) override;

  std::unique_ptr<WritableFile> CreateForWrite(std::string_view path) override;
  std::unique_ptr<ReadableFile> OpenForRead(std::string_view path) const override;

  std::vector<std::string> DriveLetters() const override;
  uint32_t GetDriveType(std::string_view root) const override;
  std::optional<DiskSpace> GetDiskSpace(int driveNumber) const override;
  std::optional<DiskSpace> GetDiskSpaceAt(std::string_view path) const override;

  // The real host path (links followed where they exist); empty when the path names no drive.
  std::string HostPath(std::string_view path) const override;
  std::string PathOfArgument(std::string_view given) const override;

  // A host path as Wine writes it: through the drive whose target holds it ("Z:\tmp\x"), else
  // "\\?\unix\tmp\x".
  std::string WindowsPathOfHost(const std::string& hostPath) const;

 private:
  struct Resolved {
    std::string hostPath;  // empty when the path names no drive
    bool isDriveRoot = false;
  };
  Resolved Resolve(std::string_view windowsPath) const;
  // The host folder a drive letter's link points to, lexically normalised; empty when the letter
  // has no link or the link dangles.
  std::string DriveTarget(char letter) const;
  std::optional<char> CurrentDriveLetter() const;

  std::string prefix_;
  const Registry& registry_;
};

}  // namespace dbinst
