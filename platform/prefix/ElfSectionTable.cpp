#include "platform/prefix/ElfSectionTable.h"

#include <fstream>
#include <optional>

namespace dbinst {
namespace {

constexpr uint16_t kExtendedIndex = 0xFFFF;
// Far above what any real program has; keeps a hostile header from claiming gigabytes.
constexpr uint64_t kMaxSections = 1 << 20;
constexpr uint64_t kMaxTableBytes = 64 << 20;
constexpr uint64_t kMaxNameTableBytes = 16 << 20;

// Where the fields of the file header and of one section header lie for one ELF class.
struct ElfLayout {
  bool is64 = false;
  size_t headerSize = 0;
  size_t sectionOffsetField = 0;  // e_shoff
  size_t sectionEntrySizeField = 0;
  size_t sectionCountField = 0;
  size_t nameTableIndexField = 0;
  size_t minEntrySize = 0;
  size_t entryOffsetField = 0;  // sh_offset
  size_t entrySizeField = 0;    // sh_size
  size_t entryLinkField = 0;    // sh_link
};

constexpr ElfLayout kElf32{false, 52, 0x20, 0x2E, 0x30, 0x32, 40, 0x10, 0x14, 0x18};
constexpr ElfLayout kElf64{true, 64, 0x28, 0x3A, 0x3C, 0x3E, 64, 0x18, 0x20, 0x28};

class ByteReader {
 public:
  ByteReader(const std::string& bytes, bool bigEndian) : bytes_(bytes), bigEndian_(bigEndian) {}

  uint64_t Unsigned(size_t at, size_t width) const {
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i) {
      const size_t index = bigEndian_ ? at + i : at + width - 1 - i;
      value = value << 8 | static_cast<unsigned char>(bytes_[index]);
    }
    return value;
  }
  uint64_t Word(size_t at, const ElfLayout& layout) const {
    return Unsigned(at, layout.is64 ? 8 : 4);
  }

 private:
  const std::string& bytes_;
  bool bigEndian_;
};

class ElfFile {
 public:
  explicit ElfFile(const std::string& hostPath) : in_(hostPath, std::ios::binary) {
    if (in_) {
      in_.seekg(0, std::ios::end);
      const std::streamoff end = in_.tellg();
      size_ = end > 0 ? static_cast<uint64_t>(end) : 0;
    }
  }
  bool IsOpen() const { return static_cast<bool>(in_); }
  uint64_t Size() const { return size_; }
  bool Holds(uint64_t offset, uint64_t length) const {
    return offset <= size_ && length <= size_ - offset;
  }
  // Nothing unless the whole range lies inside the file and could be read.
  std::optional<std::string> ReadRange(uint64_t offset, uint64_t length) {
    if (!Holds(offset, length)) return std::nullopt;
    std::string bytes(length, '\0');
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset));
    in_.read(bytes.data(), static_cast<std::streamsize>(length));
    if (static_cast<uint64_t>(in_.gcount()) != length) return std::nullopt;
    return bytes;
  }

 private:
  std::ifstream in_;
  uint64_t size_ = 0;
};

struct TableGeometry {
  uint64_t offset = 0;
  uint64_t entrySize = 0;
  uint64_t count = 0;
  uint64_t nameTableIndex = 0;
};

std::string NameAt(const std::string& nameTable, uint64_t offset) {
  if (offset >= nameTable.size()) return {};
  const size_t end = nameTable.find('\0', offset);
  return nameTable.substr(offset, end == std::string::npos ? std::string::npos : end - offset);
}

class SectionTableParser {
 public:
  explicit SectionTableParser(const std::string& hostPath) : file_(hostPath) {}

  ElfSectionTable Parse() {
    result_.fileSize = file_.Size();
    if (!file_.IsOpen()) return Fail("the file cannot be opened");
    if (!ReadHeader()) return result_;
    if (geometry_.offset == 0) return result_;  // a file without sections carries nothing
    if (!ResolveExtendedCounts() || !ReadEntries() || !NameSections()) return result_;
    return result_;
  }

 private:
  ElfSectionTable Fail(std::string reason) {
    result_.sections.clear();
    result_.error = std::move(reason);
    return result_;
  }

  bool ReadHeader() {
    const std::optional<std::string> ident = file_.ReadRange(0, 16);
    if (!ident || ident->compare(0, 4,
                                 "\x7F"
                                 "ELF") != 0) {
      Fail("not an ELF file");
      return false;
    }
    const char elfClass = (*ident)[4];
    const char byteOrder = (*ident)[5];
    if ((elfClass != 1 && elfClass != 2) || (byteOrder != 1 && byteOrder != 2)) {
      Fail("unknown ELF class or byte order");
      return false;
    }
    layout_ = elfClass == 2 ? kElf64 : kElf32;
    bigEndian_ = byteOrder == 2;
    header_ = file_.ReadRange(0, layout_.headerSize).value_or("");
    if (header_.empty()) {
      Fail("the ELF header is cut off");
      return false;
    }
    const ByteReader read(header_, bigEndian_);
    geometry_.offset = read.Word(layout_.sectionOffsetField, layout_);
    geometry_.entrySize = read.Unsigned(layout_.sectionEntrySizeField, 2);
    geometry_.count = read.Unsigned(layout_.sectionCountField, 2);
    geometry_.nameTableIndex = read.Unsigned(layout_.nameTableIndexField, 2);
    return true;
  }

  // Files with very many sections keep the real count and name-table index in section 0.
  bool ResolveExtendedCounts() {
    if (geometry_.entrySize < layout_.minEntrySize) {
      Fail("the section headers have an impossible size");
      return false;
    }
    if (geometry_.count != 0 && geometry_.nameTableIndex != kExtendedIndex) return true;
    const std::optional<std::string> first = file_.ReadRange(geometry_.offset, geometry_.entrySize);
    if (!first) {
      Fail("the section table lies outside the file");
      return false;
    }
    const ByteReader read(*first, bigEndian_);
    if (geometry_.count == 0) geometry_.count = read.Word(layout_.entrySizeField, layout_);
    if (geometry_.nameTableIndex == kExtendedIndex) {
      geometry_.nameTableIndex = read.Unsigned(layout_.entryLinkField, 4);
    }
    return true;
  }

  bool ReadEntries() {
    if (geometry_.count > kMaxSections || geometry_.count * geometry_.entrySize > kMaxTableBytes ||
        !file_.Holds(geometry_.offset, geometry_.count * geometry_.entrySize)) {
      Fail("the section table lies outside the file");
      return false;
    }
    const std::optional<std::string> table =
        file_.ReadRange(geometry_.offset, geometry_.count * geometry_.entrySize);
    if (!table) {
      Fail("the section table cannot be read");
      return false;
    }
    const ByteReader read(*table, bigEndian_);
    nameOffsets_.clear();
    for (uint64_t i = 0; i < geometry_.count; ++i) {
      const size_t at = i * geometry_.entrySize;
      ElfSection section;
      section.type = static_cast<uint32_t>(read.Unsigned(at + 4, 4));
      section.offset = read.Word(at + layout_.entryOffsetField, layout_);
      section.size = read.Word(at + layout_.entrySizeField, layout_);
      nameOffsets_.push_back(read.Unsigned(at, 4));
      result_.sections.push_back(std::move(section));
    }
    return true;
  }

  bool NameSections() {
    if (geometry_.nameTableIndex >= result_.sections.size()) {
      Fail("the section-name table is missing");
      return false;
    }
    const ElfSection& names = result_.sections[geometry_.nameTableIndex];
    const uint64_t size = names.type == kElfSectionNoBits ? 0 : names.size;
    const std::optional<std::string> nameTable =
        size > kMaxNameTableBytes ? std::nullopt : file_.ReadRange(names.offset, size);
    if (!nameTable) {
      Fail("the section-name table lies outside the file");
      return false;
    }
    for (size_t i = 0; i < result_.sections.size(); ++i) {
      result_.sections[i].name = NameAt(*nameTable, nameOffsets_[i]);
    }
    return true;
  }

  ElfFile file_;
  ElfLayout layout_;
  bool bigEndian_ = false;
  std::string header_;
  TableGeometry geometry_;
  std::vector<uint64_t> nameOffsets_;
  ElfSectionTable result_;
};

}  // namespace

ElfSectionTable ReadElfSectionTable(const std::string& hostPath) {
  return SectionTableParser(hostPath).Parse();
}

}  // namespace dbinst
