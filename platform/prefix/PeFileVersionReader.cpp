#include "platform/prefix/PeFileVersionReader.h"

#include <algorithm>
#include <set>

namespace dbinst {
namespace {

constexpr uint32_t kRtVersion = 16;
constexpr uint32_t kHighBit = 0x80000000u;
constexpr uint32_t kResourceDirectoryIndex = 2;
// A VS_VERSIONINFO node is at most 65535 bytes long; anything past that is never read.
constexpr uint32_t kMaxVersionBlockBytes = 0x10000;

uint32_t LittleEndian(const std::vector<uint8_t>& bytes, size_t offset, int width) {
  uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i)
    value = (value << 8) | bytes[offset + static_cast<size_t>(i)];
  return value;
}

struct Section {
  uint32_t virtualAddress = 0;
  uint32_t virtualSize = 0;
  uint32_t rawSize = 0;
  uint32_t rawOffset = 0;
};

// Bounds-checked reads of little-endian numbers at absolute offsets of a file.
class FileBytes {
 public:
  explicit FileBytes(ReadableFile& file) : file_(file), size_(std::max<int64_t>(file.Size(), 0)) {}

  int64_t Size() const { return size_; }

  std::optional<std::vector<uint8_t>> Read(int64_t offset, int64_t count) {
    if (offset < 0 || count < 0 || offset > size_ || count > size_ - offset) return {};
    if (!file_.Seek(offset)) return {};
    std::vector<uint8_t> bytes(static_cast<size_t>(count));
    int64_t done = 0;
    while (done < count) {
      const int64_t got = file_.Read(bytes.data() + done, count - done);
      if (got <= 0) return {};
      done += got;
    }
    return bytes;
  }

  std::optional<uint32_t> Number(int64_t offset, int width) {
    const auto bytes = Read(offset, width);
    if (!bytes) return {};
    return LittleEndian(*bytes, 0, width);
  }
  std::optional<uint32_t> Word(int64_t offset) { return Number(offset, 2); }
  std::optional<uint32_t> Dword(int64_t offset) { return Number(offset, 4); }

 private:
  ReadableFile& file_;
  int64_t size_;
};

struct PeLayout {
  std::vector<Section> sections;
  uint32_t resourceRva = 0;
};

std::optional<PeLayout> ReadLayout(FileBytes& bytes) {
  if (bytes.Word(0) != 0x5A4D) return {};  // "MZ"
  const auto peOffset = bytes.Dword(0x3C);
  if (!peOffset || bytes.Dword(*peOffset) != 0x00004550) return {};  // "PE\0\0"
  const int64_t coff = int64_t{*peOffset} + 4;
  const auto sectionCount = bytes.Word(coff + 2);
  const auto optionalSize = bytes.Word(coff + 16);
  if (!sectionCount || !optionalSize) return {};
  const int64_t optional = coff + 20;
  const auto magic = bytes.Word(optional);
  int64_t directoryCountAt = 0;
  if (magic == 0x10B) {
    directoryCountAt = 92;
  } else if (magic == 0x20B) {
    directoryCountAt = 108;
  } else {
    return {};
  }
  const auto directoryCount = bytes.Dword(optional + directoryCountAt);
  const int64_t resourceEntryAt = directoryCountAt + 4 + 8 * kResourceDirectoryIndex;
  if (!directoryCount || *directoryCount <= kResourceDirectoryIndex ||
      resourceEntryAt + 8 > *optionalSize)
    return {};
  PeLayout layout;
  const auto resourceRva = bytes.Dword(optional + resourceEntryAt);
  if (!resourceRva || *resourceRva == 0) return {};
  layout.resourceRva = *resourceRva;

  const int64_t table = optional + *optionalSize;
  for (uint32_t i = 0; i < *sectionCount; ++i) {
    const int64_t at = table + 40 * int64_t{i};
    const auto header = bytes.Read(at, 40);
    if (!header) return {};
    Section section;
    section.virtualSize = LittleEndian(*header, 8, 4);
    section.virtualAddress = LittleEndian(*header, 12, 4);
    section.rawSize = LittleEndian(*header, 16, 4);
    section.rawOffset = LittleEndian(*header, 20, 4);
    layout.sections.push_back(section);
  }
  return layout;
}

// The file offset of an RVA and how many bytes of its section follow it in the file.
struct FileSpan {
  int64_t offset = 0;
  int64_t available = 0;
};

std::optional<FileSpan> MapRva(const PeLayout& layout, uint32_t rva, int64_t fileSize) {
  for (const Section& section : layout.sections) {
    if (rva < section.virtualAddress) continue;
    const uint32_t delta = rva - section.virtualAddress;
    const uint32_t extent = section.virtualSize != 0 ? section.virtualSize : section.rawSize;
    if (delta >= extent || delta >= section.rawSize) continue;
    const int64_t offset = int64_t{section.rawOffset} + delta;
    if (offset >= fileSize) return {};
    const int64_t available = std::min<int64_t>(section.rawSize - delta, fileSize - offset);
    return FileSpan{offset, available};
  }
  return {};
}

// Walks one level of the resource tree; the result is the entry's target, relative to the root.
class ResourceTree {
 public:
  ResourceTree(FileBytes& bytes, FileSpan root) : bytes_(bytes), root_(root) {}

  // The target of the id entry `id`, or of the first entry when id is empty; subdirectories only
  // when wantDirectory, data entries otherwise.
  std::optional<uint32_t> Find(uint32_t directory, std::optional<uint32_t> id, bool wantDirectory) {
    if (!visited_.insert(directory).second) return {};  // a directory that leads back to itself
    if (!Inside(directory, 16)) return {};
    const auto named = bytes_.Word(At(directory) + 12);
    const auto ids = bytes_.Word(At(directory) + 14);
    if (!named || !ids) return {};
    const uint32_t count = *named + *ids;
    if (!Inside(directory + 16, 8 * int64_t{count})) return {};
    const auto entries = bytes_.Read(At(directory) + 16, 8 * int64_t{count});
    if (!entries) return {};
    for (uint32_t i = 0; i < count; ++i) {
      const uint32_t name = LittleEndian(*entries, 8 * i, 4);
      const uint32_t target = LittleEndian(*entries, 8 * i + 4, 4);
      if (id && ((name & kHighBit) != 0 || name != *id)) continue;
      const bool isDirectory = (target & kHighBit) != 0;
      if (isDirectory != wantDirectory) return {};
      const uint32_t offset = target & ~kHighBit;
      if (!Inside(offset, 16)) return {};
      return offset;
    }
    return {};
  }

  int64_t At(uint32_t offset) const { return root_.offset + offset; }

 private:
  bool Inside(uint32_t offset, int64_t count) const {
    return offset <= root_.available && count <= root_.available - offset;
  }

  FileBytes& bytes_;
  FileSpan root_;
  std::set<uint32_t> visited_;
};

}  // namespace

PeFileVersionReader::PeFileVersionReader(const FileSystem& fileSystem) : fileSystem_(fileSystem) {}

std::optional<std::vector<uint8_t>> PeFileVersionReader::GetFileVersionInfo(
    std::string_view path) const {
  const auto file = fileSystem_.OpenForRead(path);
  if (!file) return {};
  return ReadVersionBlock(*file);
}

std::optional<std::vector<uint8_t>> PeFileVersionReader::ReadVersionBlock(ReadableFile& file) {
  FileBytes bytes(file);
  const auto layout = ReadLayout(bytes);
  if (!layout) return {};
  const auto root = MapRva(*layout, layout->resourceRva, bytes.Size());
  if (!root) return {};
  ResourceTree tree(bytes, *root);
  const auto names = tree.Find(0, kRtVersion, true);
  const auto languages = names ? tree.Find(*names, std::nullopt, true) : std::nullopt;
  const auto dataEntry = languages ? tree.Find(*languages, std::nullopt, false) : std::nullopt;
  if (!dataEntry) return {};
  const auto dataRva = bytes.Dword(tree.At(*dataEntry));
  const auto dataSize = bytes.Dword(tree.At(*dataEntry) + 4);
  if (!dataRva || !dataSize || *dataSize == 0) return {};
  const auto data = MapRva(*layout, *dataRva, bytes.Size());
  if (!data || *dataSize > data->available) return {};
  return bytes.Read(data->offset, std::min(*dataSize, kMaxVersionBlockBytes));
}

}  // namespace dbinst
