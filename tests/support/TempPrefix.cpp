#include "tests/support/TempPrefix.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "platform/Text.h"

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

namespace {

class DrivesKey : public RegistryKey {
 public:
  explicit DrivesKey(const std::map<std::string, std::string>& values) : values_(values) {}
  bool ValueExists(std::string_view name) const override { return Find(name) != values_.end(); }
  std::optional<RegValue> ReadValue(std::string_view name) const override {
    const auto it = Find(name);
    if (it == values_.end()) return std::nullopt;
    RegValue value{kRegSz, {}};
    for (char16_t unit : Utf8ToUtf16(it->second) + u'\0') {
      value.data.push_back(static_cast<uint8_t>(unit & 0xFF));
      value.data.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return value;
  }
  std::vector<std::string> ValueNames() const override {
    std::vector<std::string> names;
    for (const auto& entry : values_) names.push_back(entry.first);
    return names;
  }
  std::vector<std::string> SubKeyNames() const override { return {}; }

 private:
  std::map<std::string, std::string>::const_iterator Find(std::string_view name) const {
    for (auto it = values_.begin(); it != values_.end(); ++it) {
      if (EqualsNoCase(it->first, name)) return it;
    }
    return values_.end();
  }
  std::map<std::string, std::string> values_;
};

}  // namespace

std::unique_ptr<RegistryKey> WineDrivesRegistry::OpenKey(RegRoot root, std::string_view path,
                                                         RegView) const {
  if (root != RegRoot::LocalMachine || !EqualsNoCase(path, "Software\\Wine\\Drives")) {
    return nullptr;
  }
  return std::make_unique<DrivesKey>(drives_);
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
