#include "platform/prefix/HostFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace dbinst {
namespace {

std::string Reason(const std::string& path, int errorNumber) {
  if (errorNumber == ENOENT) return path + ": no such file";
  return path + ": " + std::strerror(errorNumber);
}

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    content.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Flushes the folder entry of a rename; some file systems refuse, which loses nothing.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool ReadHostFile(const std::string& path, std::string& content, std::string& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = Reason(path, errno);
    return false;
  }
  content.clear();
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t got = ::read(fd, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error = Reason(path, errno);
      ::close(fd);
      return false;
    }
    if (got == 0) break;
    content.append(buffer.data(), static_cast<size_t>(got));
  }
  ::close(fd);
  return true;
}

bool ReplaceHostFile(const std::string& path, std::string_view content, std::string& error) {
  char resolved[PATH_MAX];
  if (!::realpath(path.c_str(), resolved)) {
    error = Reason(path, errno);
    return false;
  }
  const std::string target = resolved;
  struct stat old {};
  if (::stat(target.c_str(), &old) != 0) {
    error = Reason(target, errno);
    return false;
  }
  const std::string folder = FolderOf(target);
  std::string temp = folder + "/.dbinst-" + target.substr(folder.size() + 1) + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    error = Reason(folder, errno);
    return false;
  }
  bool ok = WriteAll(fd, content) && ::fsync(fd) == 0 && ::fchmod(fd, old.st_mode & 07777) == 0;
  int failure = errno;
  if (ok && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
    // Only root can hand the file back to its owner; anyone else keeps the file as theirs.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) errno = 0;
  }
  if (::close(fd) != 0 && ok) {
    ok = false;
    failure = errno;
  }
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
    ok = false;
    failure = errno;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    error = Reason(target, failure);
    return false;
  }
  SyncFolder(folder);
  return true;
}

}  // namespace dbinst
