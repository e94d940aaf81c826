#include "platform/VersionText.h"

#include <cstdio>

#include "platform/FileVersion.h"
#include "platform/Text.h"

namespace dbinst {
namespace {

constexpr size_t kMaxVersionCharacters = 254;

std::string FirstCodePoints(const std::string& utf8, size_t count) {
  size_t end = 0;
  for (size_t seen = 0; end < utf8.size() && seen < count; ++seen) {
    ++end;
    while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) ++end;
  }
  return utf8.substr(0, end);
}

}  // namespace

std::string FileVersionTextOf(const std::vector<uint8_t>& versionBlock) {
  const auto translations = VerQueryValueRaw(versionBlock, "\\VarFileInfo\\Translation");
  if (!translations || translations->size() < 4) return {};
  const uint32_t language = (*translations)[0] | ((*translations)[1] << 8);
  const uint32_t codePage = (*translations)[2] | ((*translations)[3] << 8);
  char path[64];
  std::snprintf(path, sizeof path, "\\StringFileInfo\\%08lx\\FileVersion",
                static_cast<unsigned long>((language << 16) | codePage));
  const auto text = VerQueryValueText(versionBlock, path);
  if (!text) return {};
  return Trim(FirstCodePoints(*text, kMaxVersionCharacters));
}

}  // namespace dbinst
