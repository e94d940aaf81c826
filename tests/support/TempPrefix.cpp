#include "tests/support/TempPrefix.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/Text.h"
#include "platform/prefix/PrefixMachine.h"
#include "platform/prefix/RegFormat.h"

namespace dbinst::test {
namespace fs = std::filesystem;
namespace {

const fs::path kFixtures = DBINST_TEST_FIXTURES;

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

TempPrefix::TempPrefix(EFamilyKeys familyKeys, EInstaller installer)
    : machineKeys_(RegRoot::LocalMachine, true),
      userKeys_(RegRoot::CurrentUser, true),
      installer_(DBINST_INSTALLER_PATH) {
  std::string pattern = (fs::temp_directory_path() / "dbinst-prefix-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  fs::create_directories(path_ + "/drive_c/windows/system32");
  fs::create_directories(path_ + "/dosdevices");
  Link("c:", "../drive_c");
  Link("z:", "/");
  for (const char* name : {"system.reg", "user.reg", "userdef.reg"}) {
    fs::copy_file(kFixtures / "wine-8.0-fresh-prefix" / name, fs::path(path_) / name);
  }
  if (familyKeys == EFamilyKeys::Removed) RemoveFixtureSections("VELMORA");
  // A copy, never a link: objcopy, which tests change resources with, writes through links.
  if (installer == EInstaller::OwnCopy) {
    const fs::path folder = fs::path(path_) / "installer";
    fs::create_directories(folder);
    installer_ = folder / "dbinstall";
    fs::copy_file(DBINST_INSTALLER_PATH, installer_);
  }
}

TempPrefix::~TempPrefix() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void TempPrefix::Link(const std::string& name, const std::string& target) const {
  Unlink(name);
  fs::create_symlink(target, path_ + "/dosdevices/" + name);
}

void TempPrefix::Unlink(const std::string& name) const {
  std::error_code ec;
  fs::remove(path_ + "/dosdevices/" + name, ec);
}

std::string TempPrefix::MakeFolder(const std::string& name) const {
  const std::string folder = path_ + "/" + name;
  fs::create_directories(folder);
  return folder;
}

void TempPrefix::WriteFile(const fs::path& hostPath, std::string_view content) const {
  fs::create_directories(hostPath.parent_path());
  std::ofstream out(hostPath, std::ios::binary);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

std::string TempPrefix::ReadFile(const fs::path& hostPath) const { return ReadHostFile(hostPath); }

std::string TempPrefix::InstallerWindowsFolder() const {
  std::string path = "Z:" + InstallerFolder().string() + "/";
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

void TempPrefix::RemoveFixtureSections(std::string_view keyPathPart) {
  removedParts_.emplace_back(keyPathPart);
}

void TempPrefix::UsePolishUser() { polishUser_ = true; }

void TempPrefix::SetWineDriveType(const std::string& valueName, const std::string& type) {
  driveTypes_[valueName] = type;
  WriteRegistryFiles();
}

// The fixture as Wine wrote it, less the sections left out, plus the keys added.
std::string TempPrefix::Composed(const std::string& fixture, const RegFileBuilder& keys) const {
  const std::string text = ReadHostFile(fixture);
  const std::string added = SectionsOf(keys);
  if (removedParts_.empty() && added.empty()) return text;
  std::string kept;
  size_t start = 0;
  // Wine separates sections with one empty line.
  while (start < text.size()) {
    size_t end = text.find("\n\n", start);
    end = end == std::string::npos ? text.size() : end + 2;
    const std::string block = text.substr(start, end - start);
    const std::string header = ToUpper(block.substr(0, block.find('\n')));
    bool removed = false;
    for (const std::string& part : removedParts_) {
      removed |= block.starts_with('[') && header.find(ToUpper(part)) != std::string::npos;
    }
    if (!removed) kept += block;
    start = end;
  }
  if (!kept.ends_with("\n\n")) kept += "\n";
  return kept + added;
}

void TempPrefix::WriteRegistryFiles() const {
  const fs::path fresh = kFixtures / "wine-8.0-fresh-prefix";
  std::string system = Composed((fresh / "system.reg").string(), machineKeys_);
  if (!driveTypes_.empty()) {
    system += "\n" + FormatRegSectionHeader("Software\\Wine\\Drives", 1796768604);
    for (const auto& [name, value] : driveTypes_)
      system += FormatRegValue(name, MakeRegText(value));
  }
  WriteFile(fs::path(path_) / "system.reg", system);
  const fs::path user =
      polishUser_ ? kFixtures / "wine-8.0-polish-user" / "user.reg" : fresh / "user.reg";
  WriteFile(fs::path(path_) / "user.reg", Composed(user.string(), userKeys_));
}

std::unique_ptr<PrefixRegistry> TempPrefix::LoadRegistry() const {
  std::string error;
  auto registry = PrefixRegistry::Load(path_, error);
  if (!registry) throw std::runtime_error("registry of the test prefix: " + error);
  return registry;
}

std::unique_ptr<Machine> TempPrefix::OpenMachine() {
  const bool customised = !removedParts_.empty() || polishUser_ ||
                          !SectionsOf(machineKeys_).empty() || !SectionsOf(userKeys_).empty();
  if (customised) WriteRegistryFiles();
  std::string error;
  auto machine = OpenPrefixMachine({path_, installer_.string()}, error);
  if (!machine) throw std::runtime_error("test prefix: " + error);
  return machine;
}

RegValue MakeRegDouble(double number) {
  RegValue value{kRegBinary, std::vector<uint8_t>(sizeof number)};
  std::memcpy(value.data.data(), &number, sizeof number);
  return value;
}

UnwritableFolder::UnwritableFolder(std::string hostPath) : path_(std::move(hostPath)) {
  fs::create_directories(path_);
  ::chmod(path_.c_str(), 0555);
  if (::geteuid() == 0 && !SetImmutable(true)) return;
  const std::string probe = path_ + "/probe";
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT, 0644);
  if (fd >= 0) {
    ::close(fd);
    ::unlink(probe.c_str());
    return;
  }
  usable_ = true;
}

UnwritableFolder::~UnwritableFolder() {
  if (::geteuid() == 0) SetImmutable(false);
  ::chmod(path_.c_str(), 0755);
}

bool UnwritableFolder::SetImmutable(bool on) const {
  const int fd = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  int flags = 0;
  bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (done) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  ::close(fd);
  return done;
}

}  // namespace dbinst::test
