#include "ui/FormIncludes.h"

#include <stdexcept>

#include "ui/FormText.h"

namespace dbinst {
namespace {

struct TInclude {
  std::string kind;  // "picture" or "form"
  std::string name;
};

std::string Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t\r\n");
  return std::string(text.substr(first, last - first + 1));
}

// Names stay below the include folders: no absolute paths, no climbing out with "..".
bool SafeIncludeName(std::string_view name) {
  if (name.empty() || name.front() == '/' || name.front() == '\\') return false;
  if (name.find(':') != std::string_view::npos) return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = name.size();
    if (name.substr(start, end - start) == "..") return false;
    start = end + 1;
  }
  return true;
}

std::optional<TInclude> ParseInclude(std::string_view inside) {
  const std::string body = Trimmed(inside);
  const size_t blank = body.find_first_of(" \t");
  if (blank == std::string::npos) return std::nullopt;
  TInclude include{body.substr(0, blank), Trimmed(std::string_view(body).substr(blank))};
  if (include.kind != "picture" && include.kind != "form") return std::nullopt;
  return include;
}

std::string HexBlock(std::string_view bytes, const std::string& indent) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  static constexpr size_t kBytesPerLine = 32;
  if (bytes.empty()) return "{}";
  std::string hex = "{";
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i % kBytesPerLine == 0) hex += "\n" + indent;
    const auto byte = static_cast<unsigned char>(bytes[i]);
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex + "}";
}

class TIncludeExpander {
 public:
  explicit TIncludeExpander(const TFormIncludeReader& read) : read_(read) {}

  std::string Expand(std::string_view text, int depth) {
    std::string out;
    out.reserve(text.size());
    bool quoted = false;
    for (size_t pos = 0; pos < text.size(); ++pos) {
      const char c = text[pos];
      if (c == '\'') quoted = !quoted;
      if (quoted || c != '{') {
        out += c;
        continue;
      }
      const size_t close = text.find('}', pos);
      if (close == std::string_view::npos) Fail(text, pos, "binary block not closed");
      const std::optional<TInclude> include = ParseInclude(text.substr(pos + 1, close - pos - 1));
      if (include) {
        out += HexBlock(Contents(*include, depth, text, pos), Indent(text, pos) + "  ");
      } else {
        out += text.substr(pos, close - pos + 1);
      }
      pos = close;
    }
    return out;
  }

 private:
  static size_t LineStart(std::string_view text, size_t pos) {
    const size_t newline = text.rfind('\n', pos);
    return newline == std::string_view::npos ? 0 : newline + 1;
  }

  [[noreturn]] static void Fail(std::string_view text, size_t pos, const std::string& what) {
    const size_t lineStart = LineStart(text, pos);
    int line = 1;
    for (size_t i = 0; i < lineStart; ++i) line += text[i] == '\n';
    throw EFormTextError(what, line, static_cast<int>(pos - lineStart) + 1);
  }

  // The indentation of the line that holds pos.
  static std::string Indent(std::string_view text, size_t pos) {
    const size_t lineStart = LineStart(text, pos);
    size_t end = lineStart;
    while (end < text.size() && (text[end] == ' ' || text[end] == '\t')) ++end;
    return std::string(text.substr(lineStart, end - lineStart));
  }

  std::string Contents(const TInclude& include, int depth, std::string_view text, size_t pos) {
    if (!SafeIncludeName(include.name))
      Fail(text, pos, "unsafe include name '" + include.name + "'");
    if (include.kind == "form" && depth + 1 >= kFormIncludeMaxDepth)
      Fail(text, pos, "forms included too deep at '" + include.name + "'");
    std::optional<std::string> bytes = read_(include.name);
    if (!bytes) Fail(text, pos, "cannot read included file '" + include.name + "'");
    if (include.kind == "picture") return std::move(*bytes);
    try {
      return CompileFormText(Expand(*bytes, depth + 1));
    } catch (const std::runtime_error& error) {
      Fail(text, pos, include.name + ": " + error.what());
    }
  }

  const TFormIncludeReader& read_;
};

}  // namespace

std::string ExpandFormIncludes(std::string_view text, const TFormIncludeReader& read) {
  TIncludeExpander expander(read);
  return expander.Expand(text, 0);
}

}  // namespace dbinst
