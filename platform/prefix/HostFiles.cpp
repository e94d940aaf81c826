#include "platform/prefix/HostFiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>

namespace dbinst {
namespace {

class HostWritableFile : public WritableFile {
 public:
  explicit HostWritableFile(int fd) : fd_(fd) {}
  ~HostWritableFile() override { Close(); }

  int64_t Write(const void* data, int64_t size) override {
    const char* bytes = static_cast<const char*>(data);
    int64_t done = 0;
    while (fd_ >= 0 && done < size) {
      const ssize_t n = ::write(fd_, bytes + done, static_cast<size_t>(size - done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        failed_ = true;
        break;
      }
      done += n;
    }
    return done;
  }

  bool Sync() override {
    if (fd_ < 0 || failed_) return false;
    if (::fsync(fd_) != 0) failed_ = true;
    return !failed_;
  }

  bool Close() override {
    if (fd_ < 0) return !failed_;
    // Some file systems (NFS, FUSE) report a full disk only when the file is closed.
    if (::close(fd_) != 0) failed_ = true;
    fd_ = -1;
    return !failed_;
  }

 private:
  int fd_;
  bool failed_ = false;
};

class HostReadableFile : public ReadableFile {
 public:
  HostReadableFile(int fd, int64_t size) : fd_(fd), size_(size) {}
  ~HostReadableFile() override { ::close(fd_); }

  int64_t Read(void* buffer, int64_t size) override {
    if (size <= 0) return 0;
    for (;;) {
      const ssize_t n = ::read(fd_, buffer, static_cast<size_t>(size));
      if (n < 0 && errno == EINTR) continue;
      return n < 0 ? -1 : n;
    }
  }

  int64_t Size() const override { return size_; }

  bool Seek(int64_t offset) override {
    return offset >= 0 && ::lseek(fd_, offset, SEEK_SET) == offset;
  }

 private:
  int fd_;
  int64_t size_;
};

// The lock files this process holds; the process ends without destroying its objects, so their
// files are removed when it exits.
std::set<std::string>& HeldLockFiles() {
  static auto* held = [] {
    auto* paths = new std::set<std::string>();
    std::atexit([] {
      for (const std::string& path : HeldLockFiles()) ::unlink(path.c_str());
    });
    return paths;
  }();
  return *held;
}

// flock's lock goes with the process, so a killed holder leaves a file that the next one locks.
class HostFileLock : public FileLock {
 public:
  HostFileLock(int fd, std::string hostPath) : fd_(fd), hostPath_(std::move(hostPath)) {
    HeldLockFiles().insert(hostPath_);
  }
  // Unlinked while still held, so that nobody locks the old file after we let it go.
  ~HostFileLock() override {
    HeldLockFiles().erase(hostPath_);
    ::unlink(hostPath_.c_str());
    ::close(fd_);
  }

 private:
  int fd_;
  std::string hostPath_;
};

bool SameFile(int fd, const std::string& hostPath) {
  struct stat opened {};
  struct stat named {};
  return ::fstat(fd, &opened) == 0 && ::stat(hostPath.c_str(), &named) == 0 &&
         opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

}  // namespace

std::unique_ptr<FileLock> LockHostFile(const std::string& hostPath) {
  // The holder may unlink the file between our open and our lock; then we try its successor.
  for (int attempt = 0; attempt < 8; ++attempt) {
    const int fd = ::open(hostPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      ::close(fd);
      return nullptr;
    }
    if (SameFile(fd, hostPath)) return std::make_unique<HostFileLock>(fd, hostPath);
    ::close(fd);
  }
  return nullptr;
}

std::unique_ptr<WritableFile> CreateHostFile(const std::string& hostPath) {
  const int fd = ::open(hostPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return nullptr;
  return std::make_unique<HostWritableFile>(fd);
}

std::unique_ptr<ReadableFile> OpenHostFile(const std::string& hostPath) {
  const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<HostReadableFile>(fd, static_cast<int64_t>(st.st_size));
}

}  // namespace dbinst
