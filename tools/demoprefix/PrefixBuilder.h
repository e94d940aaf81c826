#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"
#include "platform/prefix/RegFileBuilder.h"
#include "tools/demoprefix/FamilyProgram.h"

namespace dbinst {

// Builds a Wine-like 64-bit prefix in a host folder: the registry files with the keys a fresh
// Wine 8 prefix has that the installer reads, the drive links, drive C's folders, and programs of
// the family with real PE files.
class PrefixBuilder {
 public:
  explicit PrefixBuilder(std::string hostFolder);

  PrefixBuilder& UserName(std::string name);
  // The user's locale (LCID), its separators, and the machine's ANSI code page.
  PrefixBuilder& Language(uint16_t lcid, std::string decimal, std::string thousand,
                          std::string ansiCodePage);
  PrefixBuilder& Polish();

  FamilyProgram& AddProgram(std::string code, std::string folder);
  // A value under a previous installations key ("ORVANE\INSTALLATIONS"): the folder, its number.
  PrefixBuilder& AddPreviousInstallation(std::string_view key, std::string_view folder,
                                         double number);
  // "runfrom" under a key below SOFTWARE\VELMORA of the current user ("ORVANE", "KESTRIO6").
  PrefixBuilder& SetRunFrom(std::string_view key, std::string_view folder);
  // Any value; a local-machine "Software\..." path in the 32-bit view lands under Wow6432Node.
  PrefixBuilder& SetValue(RegRoot root, std::string_view path, std::string_view name,
                          RegValue value, RegView view = RegView::Wow32);

  // Writes everything; false, with the reason in error, when any of it cannot be written.
  bool Build(std::string& error);

  // The host path of a Windows path on drive C; empty for any other drive or a ".." component.
  std::string HostPath(std::string_view windowsPath) const;
  const std::string& User() const { return user_; }

 private:
  struct PendingValue {
    RegRoot root;
    std::string path;
    std::string name;
    RegValue value;
  };

  static PendingValue Pending(RegRoot root, std::string_view path, std::string_view name,
                              RegValue value, RegView view = RegView::Wow32);
  void AddMachineKeys(RegFileBuilder& machine) const;
  void AddUserKeys(RegFileBuilder& user, RegFileBuilder& userDefault) const;
  bool WriteFolders(std::string& error) const;
  bool WriteProgram(const FamilyProgram& program, std::string& error) const;

  std::string hostFolder_;
  std::string user_ = "user";
  uint16_t lcid_ = 0x0409;
  std::string decimal_ = ".";
  std::string thousand_ = ",";
  std::string ansiCodePage_ = "1252";
  std::vector<std::unique_ptr<FamilyProgram>> programs_;
  // Applied after the prefix's own keys, so that a test can replace any of them.
  std::vector<PendingValue> values_;
};

}  // namespace dbinst
