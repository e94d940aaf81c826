#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Profile.h"

namespace dbinst {

class FileSystem;

// The profile functions over the files of a Wine prefix.
class PrefixProfileReader : public ProfileReader {
 public:
  // Larger files are not read at all, so hostile input cannot exhaust memory.
  static constexpr int64_t kMaxFileBytes = int64_t{16} << 20;

  PrefixProfileReader(const FileSystem& files, uint32_t ansiCodePage);

  std::string GetString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view defaultValue) const override;
  std::string GetStringInCodePage(std::string_view file, std::string_view section,
                                  std::string_view key, std::string_view defaultValue,
                                  uint32_t codePage) const override;
  std::string GetStringFromText(std::string_view text, std::string_view section,
                                std::string_view key, std::string_view defaultValue,
                                uint32_t codePage) const override;
  std::optional<std::vector<std::string>> ReadTextLines(std::string_view file) const override;

  // The same rules over the bytes of a file that is already in memory.
  static std::string GetStringFromBytes(std::string_view bytes, std::string_view section,
                                        std::string_view key, std::string_view defaultValue,
                                        uint32_t ansiCodePage);
  static std::vector<std::string> LinesFromBytes(std::string_view bytes, uint32_t ansiCodePage);

 private:
  std::optional<std::string> ReadBytes(std::string_view file) const;

  const FileSystem& files_;
  uint32_t ansiCodePage_;
};

}  // namespace dbinst
