#include "platform/prefix/RegFormat.h"

#include <cstdio>

#include "platform/RegistryValue.h"
#include "platform/Text.h"

namespace dbinst {
namespace {

constexpr uint64_t kTicksPerSecond = 10000000;
constexpr uint64_t kTicks1601To1970 = 116444736000000000;

bool IsHexDigit(char16_t unit) {
  return (unit >= '0' && unit <= '9') || (unit >= 'a' && unit <= 'f') ||
         (unit >= 'A' && unit <= 'F');
}

bool IsOctalDigit(char16_t unit) { return unit >= '0' && unit <= '7'; }

std::string Printf(const char* format, unsigned number) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, format, number);
  return buffer;
}

// Wine writes text types as strings only when they are whole UTF-16 ending in a zero.
bool IsWritableAsString(const RegValue& value) {
  if (value.type != kRegSz && value.type != kRegExpandSz && value.type != kRegMultiSz) return false;
  const auto& data = value.data;
  return data.size() >= 2 && data.size() % 2 == 0 && data[data.size() - 1] == 0 &&
         data[data.size() - 2] == 0;
}

std::string FormatHexList(const RegValue& value, size_t column) {
  std::string out = value.type == kRegBinary ? "hex:" : Printf("hex(%x):", value.type);
  column += out.size();
  for (size_t i = 0; i < value.data.size(); ++i) {
    out += Printf("%02x", value.data[i]);
    column += 2;
    if (i + 1 < value.data.size()) {
      out += ',';
      if (++column > 76) {
        out += "\\\n  ";
        column = 2;
      }
    }
  }
  return out;
}

}  // namespace

std::string EscapeRegText(std::u16string_view text, std::string_view escaped) {
  static constexpr char kControlEscapes[33] = ".......abtnvfr.............e....";
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    const bool hasNext = i + 1 < text.size();
    if (unit > 127) {
      const bool hexFollows = hasNext && text[i + 1] < 128 && IsHexDigit(text[i + 1]);
      out += Printf(hexFollows ? "\\x%04x" : "\\x%x", unit);
    } else if (unit < 32) {
      if (unit == 0 && !hasNext) continue;
      if (kControlEscapes[unit] != '.') {
        out += '\\';
        out += kControlEscapes[unit];
      } else {
        const bool octalFollows = hasNext && IsOctalDigit(text[i + 1]);
        out += Printf(octalFollows ? "\\%03o" : "\\%o", unit);
      }
    } else {
      const char c = static_cast<char>(unit);
      if (c == '\\' || escaped.find(c) != std::string_view::npos) out += '\\';
      out += c;
    }
  }
  return out;
}

std::string FormatRegValue(std::string_view name, const RegValue& value) {
  std::string out = name.empty() ? "@=" : "\"" + EscapeRegText(Utf8ToUtf16(name), "\"\"") + "\"=";
  if (IsWritableAsString(value)) {
    if (value.type != kRegSz) out += Printf("str(%x):", value.type);
    return out + "\"" + EscapeRegText(RegValueUnits(value), "\"\"") + "\"\n";
  }
  if (value.type == kRegDword && value.data.size() == 4) {
    const uint32_t number = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                            (static_cast<uint32_t>(value.data[3]) << 24);
    return out + Printf("dword:%08x", number) + "\n";
  }
  return out + FormatHexList(value, out.size()) + "\n";
}

std::string FormatRegSectionHeader(std::string_view path, int64_t unixSeconds) {
  std::string out = "[";
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) {
      if (out.size() > 1) out += "\\\\";
      out += EscapeRegText(Utf8ToUtf16(path.substr(start, end - start)), "[]");
    }
    start = end + 1;
  }
  const uint64_t ticks = static_cast<uint64_t>(unixSeconds) * kTicksPerSecond + kTicks1601To1970;
  out += "] " + std::to_string(unixSeconds) + "\n";
  out += "#time=" + Printf("%x", static_cast<unsigned>(ticks >> 32)) +
         Printf("%08x", static_cast<unsigned>(ticks & 0xFFFFFFFF)) + "\n";
  return out;
}

}  // namespace dbinst
