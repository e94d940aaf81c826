#pragma once

#include <string>
#include <string_view>

namespace dbinst {

// GetPrivateProfileString: sections and keys without regard to case, the first match wins,
// blanks around the value and one pair of surrounding quotes removed, text converted from the
// machine's ANSI code page. The default when the file, section or key is missing.
class ProfileReader {
 public:
  virtual ~ProfileReader() = default;
  virtual std::string GetString(std::string_view file, std::string_view section,
                                std::string_view key, std::string_view defaultValue) const = 0;
};

}  // namespace dbinst
