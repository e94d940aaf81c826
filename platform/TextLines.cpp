#include "platform/TextLines.h"

#include "platform/Text.h"

namespace dbinst {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

std::string Utf16BytesToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out = Utf16ToUtf8(Utf16Units(bytes, bigEndian));
  if (bytes.size() % 2 != 0) out += kReplacement;
  return out;
}

}  // namespace

std::optional<std::string> DecodeMarkedText(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return SanitizedUtf8(bytes.substr(3));
  if (bytes.starts_with("\xFF\xFE")) return Utf16BytesToUtf8(bytes.substr(2), false);
  if (bytes.starts_with("\xFE\xFF")) return Utf16BytesToUtf8(bytes.substr(2), true);
  return std::nullopt;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

std::vector<std::string> DecodeTextLines(std::string_view bytes) {
  const std::string text = DecodeMarkedText(bytes).value_or(SanitizedUtf8(bytes));
  std::vector<std::string> lines;
  for (std::string_view line : SplitLines(text)) lines.emplace_back(line);
  return lines;
}

}  // namespace dbinst
