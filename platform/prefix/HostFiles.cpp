#include "platform/prefix/HostFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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

}  // namespace

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
