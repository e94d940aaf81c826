#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dbinst {

// GetFileVersionInfo: the raw VS_VERSIONINFO block of a program file; nothing when it has none.
class FileVersionReader {
 public:
  virtual ~FileVersionReader() = default;
  virtual std::optional<std::vector<uint8_t>> GetFileVersionInfo(std::string_view path) const = 0;
};

// VerQueryValue over a VS_VERSIONINFO block, with the same paths ("\VarFileInfo\Translation",
// "\StringFileInfo\041504e2\FileVersion"); table names match without regard to case. A string
// value comes back as UTF-8 text, other values as their raw bytes.
std::optional<std::vector<uint8_t>> VerQueryValueRaw(const std::vector<uint8_t>& block,
                                                     std::string_view subBlock);
std::optional<std::string> VerQueryValueText(const std::vector<uint8_t>& block,
                                             std::string_view subBlock);

}  // namespace dbinst
