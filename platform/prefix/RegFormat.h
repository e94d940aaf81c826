#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace dbinst {

// Wine's escaping of UTF-16 text; escaped holds the two characters that end the text besides
// the backslash ("[]" for key names, "\"\"" for value names and data). A final zero unit is left
// out.
std::string EscapeRegText(std::u16string_view text, std::string_view escaped);

// "name"=data (or @=data) as Wine writes it, hex lists wrapped with ",\" and a two-blank indent.
// Lines end with "\n" and the last line carries one too.
std::string FormatRegValue(std::string_view name, const RegValue& value);

// "[Key\\Path] <seconds>\n#time=<filetime>\n" for a key changed at the given Unix time.
std::string FormatRegSectionHeader(std::string_view path, int64_t unixSeconds);

}  // namespace dbinst
