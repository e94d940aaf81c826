#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Machine.h"
#include "platform/RegistryValue.h"
#include "platform/prefix/PrefixRegistry.h"
#include "platform/prefix/RegFileBuilder.h"

namespace dbinst::test {

// Whether a prefix keeps the family's keys that the fixture's Wine wrote, or leaves them out so
// that each test registers its own.
enum class EFamilyKeys { Kept, Removed };
// Whether the machine runs the built installer where it was built, or a copy of it in a folder of
// the prefix's own, beside which a test may put Setup.ini or whose resources it may change.
enum class EInstaller { Built, OwnCopy };

// A real Wine prefix folder in /tmp: drive_c, dosdevices with c: -> ../drive_c and z: -> /, and
// the registry files of a fresh Wine 8.0 prefix. Removed again on destruction.
class TempPrefix {
 public:
  explicit TempPrefix(EFamilyKeys familyKeys = EFamilyKeys::Kept,
                      EInstaller installer = EInstaller::Built);
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
  void WriteFile(const std::filesystem::path& hostPath, std::string_view content) const;
  std::string ReadFile(const std::filesystem::path& hostPath) const;

  // The folder of the installer the machine runs, and the name the machine gives it
  // ("Z:\tmp\...\installer\").
  std::filesystem::path InstallerFolder() const { return installer_.parent_path(); }
  std::string InstallerWindowsFolder() const;

  // Keys added to system.reg and user.reg when the machine is opened.
  RegFileBuilder& MachineKeys() { return machineKeys_; }
  RegFileBuilder& UserKeys() { return userKeys_; }
  // Leaves out every section of the fixture whose key path holds the text (ASCII, any case).
  void RemoveFixtureSections(std::string_view keyPathPart);
  // The user.reg of a Polish user instead of the fresh prefix's.
  void UsePolishUser();
  // Writes HKLM\Software\Wine\Drives value valueName ("e:") = type ("cdrom") into system.reg.
  void SetWineDriveType(const std::string& valueName, const std::string& type);

  std::unique_ptr<PrefixRegistry> LoadRegistry() const;
  // The prefix machine as the installer opens it, its resources included; the registry files are
  // written anew first when keys were added or sections left out.
  std::unique_ptr<Machine> OpenMachine();

 private:
  void WriteRegistryFiles() const;
  std::string Composed(const std::string& fixture, const RegFileBuilder& keys) const;

  std::string path_;
  std::map<std::string, std::string> driveTypes_;
  RegFileBuilder machineKeys_;
  RegFileBuilder userKeys_;
  std::vector<std::string> removedParts_;
  bool polishUser_ = false;
  std::filesystem::path installer_;
};

// An 8-byte REG_BINARY double, as the family's programs store installation numbers.
RegValue MakeRegDouble(double number);

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
