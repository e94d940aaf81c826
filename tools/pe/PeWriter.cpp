#include "tools/pe/PeWriter.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <stdexcept>

#include "platform/Text.h"

namespace dbinst {
namespace {

constexpr uint32_t kFileAlignment = 0x200;
constexpr uint32_t kSectionAlignment = 0x1000;
constexpr uint32_t kPeHeaderOffset = 0x80;
constexpr uint32_t kOptionalHeaderSize = 224;
constexpr uint32_t kHeadersSize = 0x200;
constexpr uint32_t kCodeRva = 0x1000;
constexpr uint32_t kCodeFileOffset = 0x200;
constexpr uint32_t kResourceRva = 0x2000;
constexpr uint32_t kResourceFileOffset = 0x400;
constexpr uint32_t kChecksumOffset = kPeHeaderOffset + 24 + 64;

// xor eax, eax; ret -- and for a DLL: mov eax, 1; ret 12 (DllMain answers TRUE).
const std::vector<uint8_t> kExeCode = {0x31, 0xC0, 0xC3};
const std::vector<uint8_t> kDllCode = {0xB8, 0x01, 0x00, 0x00, 0x00, 0xC2, 0x0C, 0x00};

// The classic stub that prints "This program cannot be run in DOS mode." and exits.
const std::vector<uint8_t> kDosStub = {0x0E, 0x1F, 0xBA, 0x0E, 0x00, 0xB4, 0x09,
                                       0xCD, 0x21, 0xB8, 0x01, 0x4C, 0xCD, 0x21};
constexpr char kDosMessage[] = "This program cannot be run in DOS mode.\r\r\n$";

uint32_t AlignUp(uint32_t value, uint32_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

void Put16(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  out[at] = static_cast<uint8_t>(value);
  out[at + 1] = static_cast<uint8_t>(value >> 8);
}

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  Put16(out, at, value & 0xFFFF);
  Put16(out, at + 2, value >> 16);
}

void Append16(std::vector<uint8_t>& out, uint32_t value) {
  out.resize(out.size() + 2);
  Put16(out, out.size() - 2, value);
}

void Append32(std::vector<uint8_t>& out, uint32_t value) {
  out.resize(out.size() + 4);
  Put32(out, out.size() - 4, value);
}

void PadTo4(std::vector<uint8_t>& out) { out.resize((out.size() + 3) & ~size_t{3}); }

void AppendText16(std::vector<uint8_t>& out, std::string_view utf8) {
  for (char16_t unit : Utf8ToUtf16(utf8)) Append16(out, unit);
  Append16(out, 0);
}

// One node: header, key, padding, value, then the children, each starting on a 32-bit boundary.
void AppendNode(std::vector<uint8_t>& out, std::string_view key, uint16_t type,
                const std::vector<uint8_t>& value, uint16_t valueLength,
                const std::function<void()>& appendChildren = {}) {
  const size_t start = out.size();
  Append16(out, 0);
  Append16(out, valueLength);
  Append16(out, type);
  AppendText16(out, key);
  PadTo4(out);
  out.insert(out.end(), value.begin(), value.end());
  if (appendChildren) appendChildren();
  const size_t length = out.size() - start;
  if (length > 0xFFFF) throw std::length_error("version resource node longer than 65535 bytes");
  Put16(out, start, static_cast<uint32_t>(length));
}

void AppendChild(std::vector<uint8_t>& out, const std::function<void()>& appendNode) {
  PadTo4(out);
  appendNode();
}

std::vector<uint8_t> FixedFileInfo(const VersionResource& version, bool isDll) {
  const auto& file = version.fileVersion;
  const auto& product = version.productVersion;
  std::vector<uint8_t> info;
  Append32(info, 0xFEEF04BD);
  Append32(info, 0x00010000);
  Append32(info, (uint32_t{file[0]} << 16) | file[1]);
  Append32(info, (uint32_t{file[2]} << 16) | file[3]);
  Append32(info, (uint32_t{product[0]} << 16) | product[1]);
  Append32(info, (uint32_t{product[2]} << 16) | product[3]);
  Append32(info, 0x3F);             // file flags mask
  Append32(info, 0);                // file flags
  Append32(info, 0x00040004);       // VOS_NT_WINDOWS32
  Append32(info, isDll ? 2u : 1u);  // VFT_DLL, VFT_APP
  Append32(info, 0);                // subtype
  Append32(info, 0);                // date, high
  Append32(info, 0);                // date, low
  return info;
}

void AppendStringTable(std::vector<uint8_t>& out, const VersionStringTable& table) {
  AppendNode(out, table.key, 1, {}, 0, [&] {
    for (const auto& [name, text] : table.items) {
      AppendChild(out, [&] {
        std::vector<uint8_t> value;
        AppendText16(value, text);
        AppendNode(out, name, 1, value, static_cast<uint16_t>(value.size() / 2));
      });
    }
  });
}

std::vector<uint8_t> TranslationBytes(const VersionResource& version) {
  std::vector<uint8_t> bytes;
  for (const auto& translation : version.translations) {
    Append16(bytes, translation.language);
    Append16(bytes, translation.codePage);
  }
  return bytes;
}

// The resource directory (type 16, name 1, one language) followed by its data entry and the block.
std::vector<uint8_t> BuildResourceSection(const VersionResource& version, bool isDll) {
  constexpr uint32_t kDirectorySize = 16 + 8;
  constexpr uint32_t kDataEntryAt = 3 * kDirectorySize;
  constexpr uint32_t kBlockAt = kDataEntryAt + 16;
  const std::vector<uint8_t> block = BuildVersionBlock(version, isDll);
  std::vector<uint8_t> section(kBlockAt);
  const auto directory = [&](uint32_t at, uint32_t id, uint32_t target) {
    Put16(section, at + 14, 1);  // one id entry, no named ones
    Put32(section, at + 16, id);
    Put32(section, at + 20, target);
  };
  directory(0, 16, 0x80000000u | kDirectorySize);
  directory(kDirectorySize, 1, 0x80000000u | (2 * kDirectorySize));
  directory(2 * kDirectorySize, version.resourceLanguage, kDataEntryAt);
  Put32(section, kDataEntryAt, kResourceRva + kBlockAt);
  Put32(section, kDataEntryAt + 4, static_cast<uint32_t>(block.size()));
  section.insert(section.end(), block.begin(), block.end());
  return section;
}

void PutSectionHeader(std::vector<uint8_t>& file, size_t at, const char* name, uint32_t virtualSize,
                      uint32_t rva, uint32_t rawSize, uint32_t rawOffset, uint32_t flags) {
  std::memcpy(&file[at], name, std::strlen(name));
  Put32(file, at + 8, virtualSize);
  Put32(file, at + 12, rva);
  Put32(file, at + 16, rawSize);
  Put32(file, at + 20, rawOffset);
  Put32(file, at + 36, flags);
}

void PutDosHeader(std::vector<uint8_t>& file) {
  Put16(file, 0, 0x5A4D);
  Put16(file, 2, 0x90);  // bytes on the last page
  Put16(file, 4, 3);     // pages
  Put16(file, 8, 4);     // header paragraphs
  Put16(file, 12, 0xFFFF);
  Put16(file, 16, 0xB8);
  Put16(file, 24, 0x40);
  Put32(file, 0x3C, kPeHeaderOffset);
  std::copy(kDosStub.begin(), kDosStub.end(), file.begin() + 0x40);
  std::memcpy(&file[0x40 + kDosStub.size()], kDosMessage, sizeof kDosMessage - 1);
}

void PutOptionalHeader(std::vector<uint8_t>& file, size_t at, const PeImage& image,
                       uint32_t resourceSize, uint32_t resourceRawSize) {
  Put16(file, at, 0x10B);
  file[at + 2] = 14;  // linker version
  Put32(file, at + 4, kFileAlignment);
  Put32(file, at + 8, resourceRawSize);
  Put32(file, at + 16, kCodeRva);
  Put32(file, at + 20, kCodeRva);
  Put32(file, at + 24, kResourceRva);
  Put32(file, at + 28, image.isDll ? 0x10000000u : 0x00400000u);
  Put32(file, at + 32, kSectionAlignment);
  Put32(file, at + 36, kFileAlignment);
  Put16(file, at + 40, 5);  // operating system 5.1
  Put16(file, at + 42, 1);
  Put16(file, at + 48, 5);  // subsystem 5.1
  Put16(file, at + 50, 1);
  Put32(file, at + 56, AlignUp(kResourceRva + resourceSize, kSectionAlignment));
  Put32(file, at + 60, kHeadersSize);
  Put16(file, at + 68, 2);       // Windows GUI
  Put16(file, at + 70, 0x0500);  // NX compatible, no SEH
  Put32(file, at + 72, 0x100000);
  Put32(file, at + 76, 0x1000);
  Put32(file, at + 80, 0x100000);
  Put32(file, at + 84, 0x1000);
  Put32(file, at + 92, 16);
  if (resourceSize != 0) {
    Put32(file, at + 96 + 8 * 2, kResourceRva);
    Put32(file, at + 96 + 8 * 2 + 4, resourceSize);
  }
}

uint32_t PeChecksum(const std::vector<uint8_t>& file) {
  uint64_t sum = 0;
  for (size_t at = 0; at + 1 < file.size(); at += 2) {
    if (at == kChecksumOffset || at == kChecksumOffset + 2) continue;
    sum += file[at] | (file[at + 1] << 8);
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  if (file.size() % 2 != 0) sum += file.back();
  sum = (sum & 0xFFFF) + (sum >> 16);
  sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint32_t>(sum + file.size());
}

}  // namespace

VersionResource MakeVersionResource(std::array<uint16_t, 4> fileVersion,
                                    const std::string& versionText, uint16_t language,
                                    uint16_t codePage) {
  VersionResource version;
  version.fileVersion = fileVersion;
  version.productVersion = fileVersion;
  version.translations = {{language, codePage}};
  version.resourceLanguage = language;
  char key[16];
  std::snprintf(key, sizeof key, "%04X%04X", unsigned{language}, unsigned{codePage});
  version.stringTables = {{key,
                           {{"CompanyName", "Velmora"},
                            {"FileVersion", versionText},
                            {"ProductVersion", versionText}}}};
  return version;
}

std::vector<uint8_t> BuildVersionBlock(const VersionResource& version, bool isDll) {
  std::vector<uint8_t> block;
  const std::vector<uint8_t> fixed = FixedFileInfo(version, isDll);
  AppendNode(block, "VS_VERSION_INFO", 0, fixed, static_cast<uint16_t>(fixed.size()), [&] {
    if (!version.stringTables.empty()) {
      AppendChild(block, [&] {
        AppendNode(block, "StringFileInfo", 1, {}, 0, [&] {
          for (const auto& table : version.stringTables)
            AppendChild(block, [&] { AppendStringTable(block, table); });
        });
      });
    }
    if (!version.translations.empty()) {
      AppendChild(block, [&] {
        AppendNode(block, "VarFileInfo", 1, {}, 0, [&] {
          AppendChild(block, [&] {
            const std::vector<uint8_t> value = TranslationBytes(version);
            AppendNode(block, "Translation", 0, value, static_cast<uint16_t>(value.size()));
          });
        });
      });
    }
  });
  return block;
}

std::vector<uint8_t> BuildPeFile(const PeImage& image) {
  const std::vector<uint8_t> resources =
      image.version ? BuildResourceSection(*image.version, image.isDll) : std::vector<uint8_t>{};
  const auto resourceSize = static_cast<uint32_t>(resources.size());
  const uint32_t resourceRawSize = AlignUp(resourceSize, kFileAlignment);
  std::vector<uint8_t> file(kResourceFileOffset + resourceRawSize);

  PutDosHeader(file);
  Put32(file, kPeHeaderOffset, 0x00004550);
  const size_t coff = kPeHeaderOffset + 4;
  const uint16_t sectionCount = image.version ? 2 : 1;
  Put16(file, coff, 0x14C);  // i386
  Put16(file, coff + 2, sectionCount);
  Put16(file, coff + 16, kOptionalHeaderSize);
  Put16(file, coff + 18, 0x010F | (image.isDll ? 0x2000 : 0));
  PutOptionalHeader(file, coff + 20, image, resourceSize, resourceRawSize);

  const std::vector<uint8_t>& code = image.isDll ? kDllCode : kExeCode;
  const size_t sections = coff + 20 + kOptionalHeaderSize;
  PutSectionHeader(file, sections, ".text", static_cast<uint32_t>(code.size()), kCodeRva,
                   kFileAlignment, kCodeFileOffset, 0x60000020);
  std::copy(code.begin(), code.end(), file.begin() + kCodeFileOffset);
  if (image.version) {
    PutSectionHeader(file, sections + 40, ".rsrc", resourceSize, kResourceRva, resourceRawSize,
                     kResourceFileOffset, 0x40000040);
    std::copy(resources.begin(), resources.end(), file.begin() + kResourceFileOffset);
  }
  Put32(file, kChecksumOffset, PeChecksum(file));
  return file;
}

bool WritePeFile(const std::string& hostPath, const PeImage& image, std::string& error) {
  std::vector<uint8_t> bytes;
  try {
    bytes = BuildPeFile(image);
  } catch (const std::length_error& tooLong) {
    error = tooLong.what();
    return false;
  }
  std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    error = "cannot write " + hostPath;
    return false;
  }
  return true;
}

}  // namespace dbinst
