#include "platform/prefix/FdScriptInput.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace dbinst {
namespace {

// A longer line is no command of ours; it is cut here so hostile input cannot fill the memory.
constexpr size_t kMaxLine = 64 * 1024;

}  // namespace

std::unique_ptr<FdScriptInput> FdScriptInput::Open(const std::string& source, std::string& error) {
  if (source == "-") return std::unique_ptr<FdScriptInput>(new FdScriptInput(0, false));
  const int fd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = "cannot open the script " + source + ": " + std::strerror(errno);
    return nullptr;
  }
  return std::unique_ptr<FdScriptInput>(new FdScriptInput(fd, true));
}

FdScriptInput::~FdScriptInput() {
  if (owned_) ::close(fd_);
}

bool FdScriptInput::TakeBufferedLine(std::string& line) {
  const size_t end = buffer_.find('\n');
  if (end == std::string::npos) {
    if (buffer_.size() > kMaxLine) {
      line = buffer_.substr(0, kMaxLine);
      buffer_.clear();
      discarding_ = true;
      return true;
    }
    return false;
  }
  const bool skip = discarding_;
  discarding_ = false;
  line = buffer_.substr(0, end);
  buffer_.erase(0, end + 1);
  if (skip) return TakeBufferedLine(line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

bool FdScriptInput::ReadMore() {
  char chunk[4096];
  for (;;) {
    const ssize_t got = ::read(fd_, chunk, sizeof chunk);
    if (got > 0) {
      buffer_.append(chunk, static_cast<size_t>(got));
      return true;
    }
    if (got < 0 && errno == EINTR) continue;
    return false;
  }
}

EScriptRead FdScriptInput::ReadLine(std::string& line, int timeoutMs) {
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    if (TakeBufferedLine(line)) return EScriptRead::Line;
    if (ended_) {
      if (buffer_.empty() || discarding_) return EScriptRead::End;
      line = buffer_;
      buffer_.clear();
      return EScriptRead::Line;
    }
    int wait = timeoutMs;
    if (timeoutMs > 0) {
      const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - start)
                             .count();
      if (spent >= timeoutMs) return EScriptRead::NotYet;
      wait = static_cast<int>(timeoutMs - spent);
    }
    pollfd ready{fd_, POLLIN, 0};
    const int polled = ::poll(&ready, 1, wait);
    if (polled < 0 && errno == EINTR) continue;
    if (polled == 0) return EScriptRead::NotYet;
    if (polled < 0 || !ReadMore()) ended_ = true;
  }
}

}  // namespace dbinst
