#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dbinst {

// GetPrivateProfileString: sections and keys without regard to case, the first match wins,
// blanks around the value and one pair of surrounding quotes removed, text converted from the
// machine's ANSI code page. The default when the file, section or key is missing.
class ProfileReader {
 public:
  virtual ~ProfileReader() = default;
  virtual std::string GetString(std::string_view file, std::string_view section,
                                std::string_view key, std::string_view defaultValue) const = 0;
  // The same, the file's text read in another code page than the machine's (a byte-order mark
  // still speaks for itself): for files written on a machine of another language.
  virtual std::string GetStringInCodePage(std::string_view file, std::string_view section,
                                          std::string_view key, std::string_view defaultValue,
                                          uint32_t codePage) const = 0;
  // The same rules over an ini text already in memory, in the code page given (0: the machine's).
  virtual std::string GetStringFromText(std::string_view text, std::string_view section,
                                        std::string_view key, std::string_view defaultValue,
                                        uint32_t codePage) const = 0;
  // The lines of a text file (CR LF, LF or CR ends), converted from the machine's ANSI code page,
  // or from UTF-8 or UTF-16 when a byte-order mark says so; nothing when it cannot be read.
  virtual std::optional<std::vector<std::string>> ReadTextLines(std::string_view file) const = 0;
};

}  // namespace dbinst
