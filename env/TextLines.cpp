#include "env/TextLines.h"

#include "platform/Text.h"

namespace dbinst {
namespace {

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    units += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  }
  return units;
}

std::string DecodeText(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF"))
    bytes.remove_prefix(3);
  else if (bytes.starts_with("\xFF\xFE"))
    return Utf16ToUtf8(DecodeUtf16(bytes.substr(2), false));
  else if (bytes.starts_with("\xFE\xFF"))
    return Utf16ToUtf8(DecodeUtf16(bytes.substr(2), true));
  return Utf16ToUtf8(Utf8ToUtf16(bytes));
}

}  // namespace

std::vector<std::string> DecodeTextLines(std::string_view bytes) {
  const std::string text = DecodeText(bytes);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

}  // namespace dbinst
