#include "platform/prefix/RegTextEdit.h"

#include "platform/prefix/RegFormat.h"

namespace dbinst {
namespace {

std::string WithLineEnds(std::string_view lines, std::string_view lineEnd) {
  std::string out;
  for (char c : lines) {
    if (c == '\n') {
      out += lineEnd;
    } else {
      out += c;
    }
  }
  return out;
}

std::string_view LineEndOf(std::string_view text) {
  const size_t newline = text.find('\n');
  return newline != std::string_view::npos && newline > 0 && text[newline - 1] == '\r' ? "\r\n"
                                                                                       : "\n";
}

}  // namespace

std::optional<std::string> RegTextWithValue(std::string_view text, const RegFile& parsed,
                                            std::string_view path, std::string_view name,
                                            const RegValue& value, int64_t unixSeconds,
                                            std::string& error) {
  const std::string_view lineEnd = LineEndOf(text);
  const RegKeyNode* key = &parsed.Root();
  std::string existingPath;  // the path with the names as the file spells them
  for (std::string_view part : SplitRegPath(path)) {
    const RegKeyNode* next = key ? key->FindSubKey(part) : nullptr;
    if (next && next->IsLink()) {
      error = "the key " + std::string(path) + " passes through a link";
      return std::nullopt;
    }
    if (!existingPath.empty()) existingPath += '\\';
    existingPath += next ? std::string_view(next->Name()) : part;
    key = next;
  }
  const RegNamedValue* old = key ? key->FindValue(name) : nullptr;
  // An existing value keeps the spelling of its name.
  std::string valueLines = WithLineEnds(FormatRegValue(old ? old->name : name, value), lineEnd);
  std::string out(text);
  if (old && old->span.end > old->span.begin) {
    // A last line without a line end stays without one.
    if (text[old->span.end - 1] != '\n') valueLines.resize(valueLines.size() - lineEnd.size());
    return out.replace(old->span.begin, old->span.end - old->span.begin, valueLines);
  }
  const bool endsInLine = text.empty() || text.back() == '\n';
  if (key && key->HasSection()) {
    const size_t at = key->SectionHead().end;
    if (at == text.size() && !endsInLine) valueLines.insert(0, lineEnd);
    return out.insert(at, valueLines);
  }
  if (!endsInLine) out += lineEnd;
  out += lineEnd;
  out += WithLineEnds(FormatRegSectionHeader(existingPath, unixSeconds), lineEnd);
  return out + valueLines;
}

}  // namespace dbinst
