#include "platform/prefix/TextFileDecoding.h"

#include <iconv.h>

#include <cerrno>

#include "platform/Text.h"

namespace dbinst {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
constexpr uint32_t kUtf8CodePage = 65001;

class IconvHandle {
 public:
  explicit IconvHandle(const std::string& fromCharset)
      : handle_(iconv_open("UTF-8", fromCharset.c_str())) {}
  ~IconvHandle() {
    if (Ok()) iconv_close(handle_);
  }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;

  bool Ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return handle_; }

 private:
  iconv_t handle_;
};

std::string Convert(iconv_t converter, std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char buffer[16384];
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    const size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (result != static_cast<size_t>(-1) || errno == E2BIG) continue;
    // A byte the code page does not define, or a cut-off double-byte character.
    out += kReplacement;
    ++in;
    --inLeft;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

std::string SanitizedUtf8(std::string_view bytes) { return Utf16ToUtf8(Utf8ToUtf16(bytes)); }

std::string Utf16ToUtf8Bytes(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    units += static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
  }
  std::string out = Utf16ToUtf8(units);
  if (bytes.size() % 2 != 0) out += kReplacement;
  return out;
}

bool StartsWith(std::string_view bytes, std::string_view mark) {
  return bytes.substr(0, mark.size()) == mark;
}

}  // namespace

std::string AnsiToUtf8(std::string_view bytes, uint32_t codePage) {
  if (codePage == kUtf8CodePage) return SanitizedUtf8(bytes);
  IconvHandle converter("CP" + std::to_string(codePage));
  if (converter.Ok()) return Convert(converter.get(), bytes);
  IconvHandle fallback("CP1252");
  if (fallback.Ok()) return Convert(fallback.get(), bytes);
  return SanitizedUtf8(bytes);
}

std::string DecodeTextFile(std::string_view bytes, uint32_t ansiCodePage) {
  if (StartsWith(bytes, "\xEF\xBB\xBF")) return SanitizedUtf8(bytes.substr(3));
  if (StartsWith(bytes, "\xFF\xFE")) return Utf16ToUtf8Bytes(bytes.substr(2), false);
  if (StartsWith(bytes, "\xFE\xFF")) return Utf16ToUtf8Bytes(bytes.substr(2), true);
  return AnsiToUtf8(bytes, ansiCodePage);
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

}  // namespace dbinst
