#include "tests/env/TestPrefix.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/Text.h"
#include "platform/prefix/PrefixMachine.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;

fs::path MakeUniqueFolder() {
  std::random_device random;
  for (;;) {
    const fs::path candidate =
        fs::temp_directory_path() / ("dbinst-env-" + std::to_string(random()));
    if (fs::create_directory(candidate)) return candidate;
  }
}

std::string ReadHostFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The sections of a builder's text, without its header lines.
std::string SectionsOf(const RegFileBuilder& builder) {
  const std::string text = builder.Text();
  const size_t first = text.find("\n[");
  return first == std::string::npos ? std::string() : text.substr(first + 1);
}

}  // namespace

TestPrefix::TestPrefix()
    : root_(MakeUniqueFolder()),
      machineKeys_(RegRoot::LocalMachine, true),
      userKeys_(RegRoot::CurrentUser, true) {
  fs::create_directories(DriveC() / "windows" / "system32");
  fs::create_directories(DriveC() / "users" / "root" / "Temp");
  fs::create_directories(root_ / "dosdevices");
  fs::create_directory_symlink("../drive_c", root_ / "dosdevices" / "c:");
  fs::create_directory_symlink("/", root_ / "dosdevices" / "z:");
  fs::create_directories(InstallerFolder());
  fs::copy_file(DBINST_INSTALLER_PATH, InstallerFolder() / "dbinstall");
}

TestPrefix::~TestPrefix() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

std::string TestPrefix::InstallerWindowsFolder() const {
  std::string path = "Z:" + InstallerFolder().string() + "/";
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

void TestPrefix::RemoveFixtureSections(std::string_view keyPathPart) {
  removedParts_.emplace_back(keyPathPart);
}

void TestPrefix::WriteFile(const fs::path& path, std::string_view bytes) const {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TestPrefix::ReadFile(const fs::path& path) const { return ReadHostFile(path); }

std::string TestPrefix::FixtureWithout(const std::string& file) const {
  const std::string text = ReadHostFile(file);
  std::string kept;
  size_t start = 0;
  // Wine separates sections with one empty line.
  while (start < text.size()) {
    size_t end = text.find("\n\n", start);
    end = end == std::string::npos ? text.size() : end + 2;
    const std::string block = text.substr(start, end - start);
    const std::string header = ToUpper(block.substr(0, block.find('\n')));
    bool removed = false;
    for (const std::string& part : removedParts_)
      removed |= block.starts_with('[') && header.find(ToUpper(part)) != std::string::npos;
    if (!removed) kept += block;
    start = end;
  }
  if (!kept.ends_with("\n\n")) kept += "\n";
  return kept;
}

std::unique_ptr<Machine> TestPrefix::Open() {
  const std::string fixtures = DBINST_TEST_FIXTURES;
  const std::string userFixture = polishUser_ ? fixtures + "/wine-8.0-polish-user/user.reg"
                                              : fixtures + "/wine-8.0-fresh-prefix/user.reg";
  WriteFile(root_ / "system.reg", FixtureWithout(fixtures + "/wine-8.0-fresh-prefix/system.reg") +
                                      SectionsOf(machineKeys_));
  WriteFile(root_ / "user.reg", FixtureWithout(userFixture) + SectionsOf(userKeys_));
  std::string error;
  auto machine = OpenPrefixMachine(
      PrefixOptions{root_.string(), (InstallerFolder() / "dbinstall").string()}, error);
  EXPECT_NE(machine, nullptr) << error;
  return machine;
}

RegValue MakeRegDouble(double number) {
  RegValue value{kRegBinary, std::vector<uint8_t>(sizeof number)};
  std::memcpy(value.data.data(), &number, sizeof number);
  return value;
}

}  // namespace dbinst
