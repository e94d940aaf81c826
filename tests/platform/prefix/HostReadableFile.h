#pragma once

#include <fstream>
#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace dbinst::test {

// Test adapter: a ReadableFile over a host file, standing in for the prefix file system.
class HostReadableFile : public ReadableFile {
 public:
  static std::unique_ptr<HostReadableFile> Open(const std::string& hostPath) {
    auto file = std::unique_ptr<HostReadableFile>(new HostReadableFile(hostPath));
    if (!file->stream_) return nullptr;
    return file;
  }

  int64_t Read(void* buffer, int64_t size) override {
    stream_.read(static_cast<char*>(buffer), size);
    const int64_t got = stream_.gcount();
    if (stream_.bad()) return -1;
    stream_.clear();
    return got;
  }
  int64_t Size() const override { return size_; }
  bool Seek(int64_t offset) override {
    stream_.clear();
    stream_.seekg(offset);
    return static_cast<bool>(stream_);
  }

 private:
  explicit HostReadableFile(const std::string& hostPath)
      : stream_(hostPath, std::ios::binary | std::ios::ate) {
    size_ = stream_ ? static_cast<int64_t>(stream_.tellg()) : 0;
  }

  std::ifstream stream_;
  int64_t size_ = 0;
};

}  // namespace dbinst::test
