#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/Machine.h"
#include "platform/prefix/PrefixRegistry.h"

namespace dbinst::test {

// A real Wine prefix folder in /tmp: drive_c, dosdevices with c: -> ../drive_c and z: -> /, and
// the registry files of a fresh Wine 8.0 prefix. Removed again on destruction.
class TempPrefix {
 public:
  TempPrefix();
  ~TempPrefix();
  TempPrefix(const TempPrefix&) = delete;
  TempPrefix& operator=(const TempPrefix&) = delete;

  const std::string& path() const { return path_; }
  std::string driveC() const { return path_ + "/drive_c"; }
  // Points dosdevices/<name> at target (made with a link, even when target does not exist).
  void Link(const std::string& name, const std::string& target) const;
  void Unlink(const std::string& name) const;
  // A folder inside the prefix folder (outside every drive but z:), for drives of their own.
  std::string MakeFolder(const std::string& name) const;
  void WriteFile(const std::string& hostPath, const std::string& content) const;
  // Writes HKLM\Software\Wine\Drives value valueName ("e:") = type ("cdrom") into system.reg.
  void SetWineDriveType(const std::string& valueName, const std::string& type);

  std::unique_ptr<PrefixRegistry> LoadRegistry() const;
  // The prefix machine as the built installer opens it, its resources included.
  std::unique_ptr<Machine> OpenMachine() const;

 private:
  std::string path_;
  std::map<std::string, std::string> driveTypes_;
};

// A folder that refuses new entries even to root (mode 0555 plus the immutable flag when running
// as root); restored on destruction. usable() is false where the flag cannot be set.
class UnwritableFolder {
 public:
  explicit UnwritableFolder(std::string hostPath);
  ~UnwritableFolder();
  UnwritableFolder(const UnwritableFolder&) = delete;
  UnwritableFolder& operator=(const UnwritableFolder&) = delete;
  bool usable() const { return usable_; }

 private:
  bool SetImmutable(bool on) const;
  std::string path_;
  bool usable_ = false;
};

}  // namespace dbinst::test
