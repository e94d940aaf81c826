#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dbinst {

// Bytes in a Windows ANSI code page to UTF-8; an unknown code page is read as 1252 and bytes the
// code page does not define become U+FFFD.
std::string AnsiToUtf8(std::string_view bytes, uint32_t codePage);

// The text of a file as Windows reads it: a UTF-8 or UTF-16 byte-order mark says the encoding,
// otherwise the bytes are in the ANSI code page. The mark itself is not part of the text.
std::string DecodeTextFile(std::string_view bytes, uint32_t ansiCodePage);

}  // namespace dbinst
