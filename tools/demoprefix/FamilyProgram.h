#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace dbinst {

// One program of the family as a prefix holds it: its folder with the executable and the two
// libraries, each carrying a version resource, its database folders, and its registry entries.
class FamilyProgram {
 public:
  // code: "OV", "OVS", "OVD", "KS", "OVPRO" or "OVPROD"; folder: a Windows path on drive C.
  FamilyProgram(std::string code, std::string folder);

  // The FileVersion text of the executable; the fixed version is read from its numbers.
  FamilyProgram& ExecutableVersion(std::string text);
  FamilyProgram& LibraryVersions(std::string manager, std::string kafle);
  // Leaves out one of the program files, or writes it without a version resource.
  FamilyProgram& Without(std::string fileName);
  FamilyProgram& WithoutVersionResource(std::string fileName);
  FamilyProgram& DatabaseFolders(std::vector<std::string> names);
  // Registers the folder under INSTALLATIONS (32-bit view for the local machine).
  FamilyProgram& RegisteredIn(RegRoot root, std::string keyName);
  // Writes the folder as "runfrom" of the program's key in the current user's hive.
  FamilyProgram& RunFrom();

  struct File {
    std::string name;
    std::string versionText;
    bool hasVersion = true;
  };

  const std::string& Code() const { return code_; }
  const std::string& Folder() const { return folder_; }
  const std::string& ProgramKey() const { return programKey_; }
  std::vector<File> Files() const;
  const std::vector<std::string>& DatabaseFolderNames() const { return databaseFolders_; }
  const std::optional<RegRoot>& RegistrationRoot() const { return registrationRoot_; }
  const std::string& InstallationKey() const { return installationKey_; }
  bool HasRunFrom() const { return runFrom_; }

 private:
  std::string code_;
  std::string folder_;
  std::string executable_;
  std::string programKey_;
  std::string executableVersion_;
  std::string managerVersion_ = "6.0.0.0";
  std::string kafleVersion_ = "2.0.0.0";
  std::vector<std::string> missing_;
  std::vector<std::string> unversioned_;
  std::vector<std::string> databaseFolders_{"Plytki", "dodatki", "AGD", "WALLS", "Materialy"};
  std::optional<RegRoot> registrationRoot_;
  std::string installationKey_;
  bool runFrom_ = false;
};

// The fixed version a version text stands for: up to four numbers, anything unreadable as 0.
std::array<uint16_t, 4> FixedVersionOf(const std::string& text);

}  // namespace dbinst
