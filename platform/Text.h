#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dbinst {

// All texts are UTF-8. Case rules follow Windows: a simple per-character mapping that covers
// Latin, Greek and Cyrillic letters, so "ŁÓDŹ" and "łódź" compare equal.
std::u16string Utf8ToUtf16(std::string_view utf8);
// Surrogate pairs are joined; a lone surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);
std::string CodePointToUtf8(char32_t cp);
// The UTF-16 code units of bytes stored two to a unit, little-endian unless said otherwise; an odd
// last byte is left out.
std::u16string Utf16Units(std::string_view bytes, bool bigEndian = false);
// Bytes that claim to be UTF-8 made valid: each malformed byte becomes U+FFFD.
std::string SanitizedUtf8(std::string_view bytes);

std::string ToUpper(std::string_view text);
std::string ToLower(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// Removes spaces and control characters (code <= 32) at both ends, as the class library's Trim.
std::string Trim(std::string_view text);
std::string WithTrailingBackslash(std::string_view path);
std::string WithoutTrailingBackslash(std::string_view path);

// A decimal integer with an optional sign and nothing else; nothing on overflow or junk.
std::optional<int64_t> ParseInteger(std::string_view text);

// Replaces each %s in order with the next argument; other characters stay as they are.
std::string FillPlaceholders(std::string_view pattern, const std::vector<std::string>& args);

}  // namespace dbinst
