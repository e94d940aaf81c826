#include "platform/ReadOnlyMachine.h"

#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Registry.h"

namespace dbinst {
namespace {

class ReadOnlyRegistry : public Registry {
 public:
  explicit ReadOnlyRegistry(Registry& registry) : registry_(registry) {}
  std::unique_ptr<RegistryKey> OpenKey(RegRoot root, std::string_view path,
                                       RegView view) const override {
    return registry_.OpenKey(root, path, view);
  }
  bool WriteString(RegRoot, std::string_view, std::string_view, std::string_view) override {
    return false;
  }

 private:
  Registry& registry_;
};

class ReadOnlyFiles : public FileSystem {
 public:
  explicit ReadOnlyFiles(FileSystem& files) : files_(files) {}

  std::vector<DirEntry> Find(std::string_view pattern) const override {
    return files_.Find(pattern);
  }
  bool FileExists(std::string_view path) const override { return files_.FileExists(path); }
  bool FolderExists(std::string_view path) const override { return files_.FolderExists(path); }
  bool IsReadOnly(std::string_view path) const override { return files_.IsReadOnly(path); }
  std::optional<int64_t> LastWriteTime(std::string_view path) const override {
    return files_.LastWriteTime(path);
  }
  std::unique_ptr<ReadableFile> OpenForRead(std::string_view path) const override {
    return files_.OpenForRead(path);
  }
  std::vector<std::string> DriveLetters() const override { return files_.DriveLetters(); }
  uint32_t GetDriveType(std::string_view root) const override { return files_.GetDriveType(root); }
  std::optional<DiskSpace> GetDiskSpace(int driveNumber) const override {
    return files_.GetDiskSpace(driveNumber);
  }
  std::optional<DiskSpace> GetDiskSpaceAt(std::string_view path) const override {
    return files_.GetDiskSpaceAt(path);
  }
  std::string HostPath(std::string_view path) const override { return files_.HostPath(path); }
  std::string PathOfArgument(std::string_view given) const override {
    return files_.PathOfArgument(given);
  }

  bool SetReadOnly(std::string_view, bool) override { return false; }
  bool CreateFolders(std::string_view) override { return false; }
  bool DeleteFile(std::string_view) override { return false; }
  bool ShellDelete(std::string_view) override { return false; }
  bool MoveFile(std::string_view, std::string_view, bool) override { return false; }
  bool RemoveFolder(std::string_view) override { return false; }
  std::unique_ptr<FileLock> TryLock(std::string_view) override { return nullptr; }
  std::unique_ptr<WritableFile> CreateForWrite(std::string_view) override { return nullptr; }

 private:
  FileSystem& files_;
};

class ReadOnly : public Machine {
 public:
  explicit ReadOnly(std::unique_ptr<Machine> machine)
      : machine_(std::move(machine)), registry_(machine_->registry()), files_(machine_->files()) {}

  Registry& registry() override { return registry_; }
  FileSystem& files() override { return files_; }
  SystemInfo& system() override { return machine_->system(); }
  Processes& processes() override { return machine_->processes(); }
  FileVersionReader& versions() override { return machine_->versions(); }
  ProfileReader& profiles() override { return machine_->profiles(); }
  ResourceModule& resources() override { return machine_->resources(); }
  SystemMessageBox& messageBox() override { return machine_->messageBox(); }
  DynamicLibraries& libraries() override { return machine_->libraries(); }
  std::vector<std::string> TakeNotes() override { return machine_->TakeNotes(); }

 private:
  std::unique_ptr<Machine> machine_;
  ReadOnlyRegistry registry_;
  ReadOnlyFiles files_;
};

}  // namespace

std::unique_ptr<Machine> ReadOnlyMachine(std::unique_ptr<Machine> machine) {
  return std::make_unique<ReadOnly>(std::move(machine));
}

}  // namespace dbinst
