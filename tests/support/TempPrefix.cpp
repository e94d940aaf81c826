#include "tests/support/TempPrefix.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "platform/RegistryValue.h"
#include "platform/prefix/PrefixMachine.h"
#include "platform/prefix/RegFormat.h"

namespace dbinst::test {
namespace fs = std::filesystem;

TempPrefix::TempPrefix() {
  std::string pattern = (fs::temp_directory_path() / "dbinst-prefix-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  fs::create_directories(path_ + "/drive_c/windows/system32");
  fs::create_directories(path_ + "/dosdevices");
  Link("c:", "../drive_c");
  Link("z:", "/");
  const fs::path fixture = fs::path(DBINST_TEST_FIXTURES) / "wine-8.0-fresh-prefix";
  for (const char* name : {"system.reg", "user.reg", "userdef.reg"}) {
    fs::copy_file(fixture / name, fs::path(path_) / name);
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

void TempPrefix::WriteFile(const std::string& hostPath, const std::string& content) const {
  fs::create_directories(fs::path(hostPath).parent_path());
  std::ofstream(hostPath, std::ios::binary) << content;
}

void TempPrefix::SetWineDriveType(const std::string& valueName, const std::string& type) {
  driveTypes_[valueName] = type;
  const fs::path fixture = fs::path(DBINST_TEST_FIXTURES) / "wine-8.0-fresh-prefix" / "system.reg";
  std::ifstream in(fixture, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  text += "\n" + FormatRegSectionHeader("Software\\Wine\\Drives", 1796768604);
  for (const auto& [name, value] : driveTypes_) text += FormatRegValue(name, MakeRegText(value));
  std::ofstream(path_ + "/system.reg", std::ios::binary | std::ios::trunc) << text;
}

std::unique_ptr<PrefixRegistry> TempPrefix::LoadRegistry() const {
  std::string error;
  auto registry = PrefixRegistry::Load(path_, error);
  if (!registry) throw std::runtime_error("registry of the test prefix: " + error);
  return registry;
}

std::unique_ptr<Machine> TempPrefix::OpenMachine() const {
  std::string error;
  auto machine = OpenPrefixMachine({path_, DBINST_INSTALLER_PATH}, error);
  if (!machine) throw std::runtime_error("test prefix: " + error);
  return machine;
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
