#include "platform/prefix/PrefixProfileReader.h"

#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "platform/TextLines.h"
#include "platform/prefix/TextFileDecoding.h"

namespace dbinst {
namespace {

// The characters the profile functions treat as blanks; 0x1A is the old end-of-file mark.
bool IsProfileBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0x1A;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsProfileBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsProfileBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The name of a "[name]" line, or nothing when the line is no section header.
std::optional<std::string_view> SectionHeaderName(std::string_view line) {
  if (line.empty() || line.front() != '[') return std::nullopt;
  const size_t close = line.rfind(']');
  if (close == std::string_view::npos) return std::nullopt;
  return TrimBlanks(line.substr(1, close - 1));
}

// Only the first section of the name is searched, as the system's profile functions do.
std::optional<std::string_view> FindRawValue(std::string_view text, std::string_view section,
                                             std::string_view key) {
  bool inSection = false;
  for (std::string_view line : SplitLines(text)) {
    line = TrimBlanks(line);
    if (line.empty() || line.front() == ';') continue;
    if (const auto name = SectionHeaderName(line)) {
      if (inSection) return std::nullopt;
      inSection = EqualsNoCase(*name, section);
      continue;
    }
    if (!inSection) continue;
    const size_t equals = line.find('=');
    if (!EqualsNoCase(TrimBlanks(line.substr(0, equals)), key)) continue;
    // A key without a value answers the default, as the system's profile functions do.
    if (equals == std::string_view::npos) return std::nullopt;
    return TrimBlanks(line.substr(equals + 1));
  }
  return std::nullopt;
}

std::string WithoutSurroundingQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  // The caller of the system function gets a C string, which ends at the first NUL.
  return std::string(value.substr(0, value.find('\0')));
}

std::string WithoutTrailingSpaces(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

}  // namespace

PrefixProfileReader::PrefixProfileReader(const FileSystem& files, uint32_t ansiCodePage)
    : files_(files), ansiCodePage_(ansiCodePage) {}

std::string PrefixProfileReader::GetString(std::string_view file, std::string_view section,
                                           std::string_view key,
                                           std::string_view defaultValue) const {
  const std::optional<std::string> bytes = ReadBytes(file);
  if (!bytes) return WithoutTrailingSpaces(defaultValue);
  return GetStringFromBytes(*bytes, section, key, defaultValue, ansiCodePage_);
}

std::string PrefixProfileReader::GetStringInCodePage(std::string_view file,
                                                     std::string_view section, std::string_view key,
                                                     std::string_view defaultValue,
                                                     uint32_t codePage) const {
  const std::optional<std::string> bytes = ReadBytes(file);
  if (!bytes) return WithoutTrailingSpaces(defaultValue);
  return GetStringFromBytes(*bytes, section, key, defaultValue, codePage);
}

std::string PrefixProfileReader::GetStringFromText(std::string_view text, std::string_view section,
                                                   std::string_view key,
                                                   std::string_view defaultValue,
                                                   uint32_t codePage) const {
  return GetStringFromBytes(text, section, key, defaultValue,
                            codePage == 0 ? ansiCodePage_ : codePage);
}

std::optional<std::vector<std::string>> PrefixProfileReader::ReadTextLines(
    std::string_view file) const {
  const std::optional<std::string> bytes = ReadBytes(file);
  if (!bytes) return std::nullopt;
  return LinesFromBytes(*bytes, ansiCodePage_);
}

std::string PrefixProfileReader::GetStringFromBytes(std::string_view bytes,
                                                    std::string_view section, std::string_view key,
                                                    std::string_view defaultValue,
                                                    uint32_t ansiCodePage) {
  const std::string_view wantedSection = TrimBlanks(section);
  const std::string_view wantedKey = TrimBlanks(key);
  if (wantedSection.empty() || wantedKey.empty() ||
      static_cast<int64_t>(bytes.size()) > kMaxFileBytes) {
    return WithoutTrailingSpaces(defaultValue);
  }
  const std::string text = DecodeTextFile(bytes, ansiCodePage);
  const auto value = FindRawValue(text, wantedSection, wantedKey);
  if (!value) return WithoutTrailingSpaces(defaultValue);
  return WithoutSurroundingQuotes(*value);
}

std::vector<std::string> PrefixProfileReader::LinesFromBytes(std::string_view bytes,
                                                             uint32_t ansiCodePage) {
  if (static_cast<int64_t>(bytes.size()) > kMaxFileBytes) return {};
  const std::string text = DecodeTextFile(bytes, ansiCodePage);
  std::vector<std::string> lines;
  for (std::string_view line : SplitLines(text)) lines.emplace_back(line);
  return lines;
}

std::optional<std::string> PrefixProfileReader::ReadBytes(std::string_view file) const {
  if (file.empty()) return std::nullopt;
  const std::unique_ptr<ReadableFile> input = files_.OpenForRead(file);
  if (!input) return std::nullopt;
  const int64_t size = input->Size();
  if (size < 0 || size > kMaxFileBytes) return std::nullopt;
  std::string bytes(static_cast<size_t>(size), '\0');
  int64_t done = 0;
  while (done < size) {
    const int64_t got = input->Read(bytes.data() + done, size - done);
    if (got < 0) return std::nullopt;
    if (got == 0) break;
    done += got;
  }
  // A file that shrank while being read is taken as far as it went.
  bytes.resize(static_cast<size_t>(done));
  return bytes;
}

}  // namespace dbinst
