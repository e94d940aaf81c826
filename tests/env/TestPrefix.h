#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Machine.h"
#include "platform/prefix/RegFileBuilder.h"

namespace dbinst {

// A real Wine prefix in a temporary folder, made from the registry files Wine 8.0 wrote, with the
// family's keys taken out so that each test registers its own. The installer is copied into a
// folder of its own there, so Setup.ini and language folders can lie beside it.
class TestPrefix {
 public:
  TestPrefix();
  ~TestPrefix();
  TestPrefix(const TestPrefix&) = delete;
  TestPrefix& operator=(const TestPrefix&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path DriveC() const { return root_ / "drive_c"; }
  std::filesystem::path InstallerFolder() const { return root_ / "installer"; }
  // The installer folder as the machine names it ("Z:\tmp\...\installer\").
  std::string InstallerWindowsFolder() const;

  // Keys appended to system.reg and user.reg when the machine is opened.
  RegFileBuilder& MachineKeys() { return machineKeys_; }
  RegFileBuilder& UserKeys() { return userKeys_; }
  // Drops every section of the fixture whose key path contains the text (ASCII, any case).
  void RemoveFixtureSections(std::string_view keyPathPart);
  // Keeps the family's keys exactly as Wine wrote them in the fixture.
  void KeepFixtureFamilyKeys() { removedParts_.clear(); }
  void UsePolishUser() { polishUser_ = true; }

  void WriteFile(const std::filesystem::path& path, std::string_view bytes) const;
  std::string ReadFile(const std::filesystem::path& path) const;

  // Writes the registry files and opens the prefix; fails the test when it does not open.
  std::unique_ptr<Machine> Open();

 private:
  std::string FixtureWithout(const std::string& file) const;

  std::filesystem::path root_;
  RegFileBuilder machineKeys_;
  RegFileBuilder userKeys_;
  std::vector<std::string> removedParts_{"VELMORA"};
  bool polishUser_ = false;
};

// An 8-byte REG_BINARY double, as the family's programs store installation numbers.
RegValue MakeRegDouble(double number);

}  // namespace dbinst
