#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dbinst {

// Text whose byte-order mark names its encoding (UTF-8, UTF-16LE or UTF-16BE), as UTF-8 without
// the mark; nothing when there is no mark. Malformed units become U+FFFD.
std::optional<std::string> DecodeMarkedText(std::string_view bytes);

// Splits at CR LF, LF or a lone CR; a line end at the very end adds no empty line.
std::vector<std::string_view> SplitLines(std::string_view text);

// The lines of a text held in bytes, as a string list loads them: the byte-order mark picks the
// encoding and text without one is read as UTF-8.
std::vector<std::string> DecodeTextLines(std::string_view bytes);

}  // namespace dbinst
