#include "platform/prefix/TextFileDecoding.h"

#include <iconv.h>

#include <cerrno>

#include "platform/Text.h"
#include "platform/TextLines.h"

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
  if (auto text = DecodeMarkedText(bytes)) return *text;
  return AnsiToUtf8(bytes, ansiCodePage);
}

}  // namespace dbinst
