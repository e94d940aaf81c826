#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dbinst {

// The lines of a text held in bytes, as a string list loads them: the byte-order mark picks UTF-8,
// UTF-16LE or UTF-16BE (no mark: UTF-8, bad bytes become U+FFFD); CR LF, LF and CR end lines, and
// a line end at the very end adds no empty line.
std::vector<std::string> DecodeTextLines(std::string_view bytes);

}  // namespace dbinst
