#pragma once

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace dbinst::test {

// A listening Unix socket at a path, as a running Wine server leaves one; removed at the end.
class SocketFile {
 public:
  explicit SocketFile(const std::string& path) : path_(path) {
    fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    bound_ = fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~SocketFile() {
    if (fd_ >= 0) ::close(fd_);
    if (bound_) ::unlink(path_.c_str());
  }
  SocketFile(const SocketFile&) = delete;
  SocketFile& operator=(const SocketFile&) = delete;

  bool Bound() const { return bound_; }

 private:
  std::string path_;
  int fd_ = -1;
  bool bound_ = false;
};

}  // namespace dbinst::test
