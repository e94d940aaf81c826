#include "platform/RegistryValue.h"

#include <cstring>

#include "platform/Text.h"

namespace dbinst {
std::u16string RegValueUnits(const RegValue& value) {
  return Utf16Units(
      std::string_view(reinterpret_cast<const char*>(value.data.data()), value.data.size()));
}

std::optional<std::string> RegValueText(const RegValue& value) {
  if (value.type != kRegSz && value.type != kRegExpandSz) return std::nullopt;
  std::u16string units = RegValueUnits(value);
  // A string stored without its terminating zero still reads; text after a zero does not.
  const size_t end = units.find(u'\0');
  if (end != std::u16string::npos) units.resize(end);
  return Utf16ToUtf8(units);
}

std::optional<int32_t> RegValueInteger(const RegValue& value) {
  if (value.type != kRegDword || value.data.size() != 4) return std::nullopt;
  const uint32_t number = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                          (static_cast<uint32_t>(value.data[3]) << 24);
  return static_cast<int32_t>(number);
}

std::optional<double> RegValueDouble(const RegValue& value) {
  if (value.type != kRegBinary || value.data.size() != sizeof(double)) return std::nullopt;
  uint64_t bits = 0;
  for (size_t i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(value.data[i]) << (8 * i);
  double number = 0;
  std::memcpy(&number, &bits, sizeof number);
  return number;
}

std::vector<std::string> RegValueMultiText(const RegValue& value) {
  std::vector<std::string> items;
  if (value.type != kRegMultiSz) return items;
  const std::u16string units = RegValueUnits(value);
  size_t start = 0;
  while (start < units.size()) {
    size_t end = units.find(u'\0', start);
    if (end == std::u16string::npos) end = units.size();
    // An empty string ends the list, as it does for Windows.
    if (end == start) break;
    items.push_back(Utf16ToUtf8(std::u16string_view(units).substr(start, end - start)));
    start = end + 1;
  }
  return items;
}

RegValue MakeRegText(std::string_view utf8, uint32_t type) {
  RegValue value;
  value.type = type;
  std::u16string units = Utf8ToUtf16(utf8);
  units += u'\0';
  if (type == kRegMultiSz) units += u'\0';
  value.data.reserve(units.size() * 2);
  for (char16_t unit : units) {
    value.data.push_back(static_cast<uint8_t>(unit & 0xFF));
    value.data.push_back(static_cast<uint8_t>(unit >> 8));
  }
  return value;
}

RegValue MakeRegDword(uint32_t number) {
  RegValue value;
  value.type = kRegDword;
  for (int i = 0; i < 4; ++i) value.data.push_back(static_cast<uint8_t>(number >> (8 * i)));
  return value;
}

}  // namespace dbinst
