#include "ui/AlphaColor.h"

#include <cstdio>

namespace dbinst {
namespace {

std::optional<uint32_t> HexDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<uint32_t>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<uint32_t>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<uint32_t>(c - 'A' + 10);
  return std::nullopt;
}

}  // namespace

std::string AlphaColorText(TAlphaColor color) {
  char text[10];
  std::snprintf(text, sizeof text, "#%08X", static_cast<unsigned>(color));
  return text;
}

std::optional<TAlphaColor> ParseAlphaColor(std::string_view text) {
  if (text.size() != 7 && text.size() != 9) return std::nullopt;
  if (text[0] != '#') return std::nullopt;
  uint32_t value = 0;
  for (char c : text.substr(1)) {
    const std::optional<uint32_t> digit = HexDigit(c);
    if (!digit) return std::nullopt;
    value = (value << 4) | *digit;
  }
  if (text.size() == 7) value |= 0xFF000000u;
  return value;
}

}  // namespace dbinst
