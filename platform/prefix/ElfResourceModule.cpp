#include "platform/prefix/ElfResourceModule.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/Text.h"
#include "platform/prefix/ElfSectionTable.h"

namespace dbinst {
namespace {

constexpr std::string_view kSectionPrefix = ".rsrc.";

// Reads one section's byte range through a file descriptor of its own.
class ElfSectionStream : public ResourceStream {
 public:
  ElfSectionStream(int descriptor, uint64_t offset, uint64_t size)
      : descriptor_(descriptor), offset_(offset), size_(size) {}
  ~ElfSectionStream() override { ::close(descriptor_); }
  ElfSectionStream(const ElfSectionStream&) = delete;
  ElfSectionStream& operator=(const ElfSectionStream&) = delete;

  int64_t Size() const override { return static_cast<int64_t>(size_); }

  int64_t Read(void* buffer, int64_t size) override {
    if (size < 0) return -1;
    const uint64_t wanted = std::min<uint64_t>(static_cast<uint64_t>(size), size_ - position_);
    if (wanted == 0) return 0;
    ssize_t got;
    do {
      got = ::pread(descriptor_, buffer, wanted, static_cast<off_t>(offset_ + position_));
    } while (got < 0 && errno == EINTR);
    // The file ending before the section does means it was cut since it was opened.
    if (got <= 0) return -1;
    position_ += static_cast<uint64_t>(got);
    return got;
  }

  bool Seek(int64_t offset) override {
    if (offset < 0 || static_cast<uint64_t>(offset) > size_) return false;
    position_ = static_cast<uint64_t>(offset);
    return true;
  }

 private:
  int descriptor_;
  uint64_t offset_;
  uint64_t size_;
  uint64_t position_ = 0;
};

}  // namespace

ElfResourceModule::ElfResourceModule(std::string elfHostPath) : path_(std::move(elfHostPath)) {
  const ElfSectionTable table = ReadElfSectionTable(path_);
  if (!table.error.empty()) {
    error_ = path_ + ": " + table.error;
    return;
  }
  for (const ElfSection& section : table.sections) {
    if (section.name.size() <= kSectionPrefix.size() || !section.name.starts_with(kSectionPrefix)) {
      continue;
    }
    Entry entry{section.name.substr(kSectionPrefix.size()), section.offset, section.size};
    if (section.type == kElfSectionNoBits) entry.size = 0;
    const bool inFile = entry.size == 0 || (entry.offset <= table.fileSize &&
                                            entry.size <= table.fileSize - entry.offset);
    if (inFile && Find(entry.name) == nullptr) entries_.push_back(std::move(entry));
  }
}

std::unique_ptr<ResourceStream> ElfResourceModule::Open(std::string_view name) const {
  const Entry* entry = Find(name);
  if (entry == nullptr) return nullptr;
  const int descriptor = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return nullptr;
  return std::make_unique<ElfSectionStream>(descriptor, entry->offset, entry->size);
}

std::vector<std::string> ElfResourceModule::Names() const {
  std::vector<std::string> names;
  for (const Entry& entry : entries_) names.push_back(entry.name);
  return names;
}

const ElfResourceModule::Entry* ElfResourceModule::Find(std::string_view name) const {
  for (const Entry& entry : entries_) {
    if (EqualsNoCase(entry.name, name)) return &entry;
  }
  return nullptr;
}

}  // namespace dbinst
