#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Registry.h"
#include "platform/prefix/RegFile.h"

namespace dbinst {

// The registry file text with one value set and every other byte kept: the value's lines
// replaced, or a line added after the "#" lines of the key's section, or a new section appended.
// Lines added take the file's line end (CR LF or LF). Nothing, with the reason in error, when the
// key path runs through a link. parsed must come from text.
std::optional<std::string> RegTextWithValue(std::string_view text, const RegFile& parsed,
                                            std::string_view path, std::string_view name,
                                            const RegValue& value, int64_t unixSeconds,
                                            std::string& error);

}  // namespace dbinst
