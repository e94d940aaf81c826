#include "env/TranslationTable.h"

#include <optional>

#include "platform/Resources.h"
#include "platform/Text.h"
#include "platform/TextLines.h"

namespace dbinst {
namespace {

// The real table is a few hundred kilobytes; anything far larger is not a translation table.
constexpr int64_t kMaxResourceBytes = 16 * 1024 * 1024;

std::optional<std::string> ReadWhole(ResourceStream& stream) {
  const int64_t size = stream.Size();
  if (size < 0 || size > kMaxResourceBytes) return std::nullopt;
  std::string bytes;
  char buffer[32768];
  for (;;) {
    const int64_t got = stream.Read(buffer, sizeof buffer);
    if (got < 0) return std::nullopt;
    if (got == 0) return bytes;
    bytes.append(buffer, static_cast<size_t>(got));
    if (static_cast<int64_t>(bytes.size()) > kMaxResourceBytes) return std::nullopt;
  }
}

std::optional<size_t> FindHeader(const std::vector<std::string>& lines, std::string_view code) {
  const std::string header = "[" + ToUpper(code) + "]";
  // A header among the last two lines does not count.
  for (size_t i = 0; i + 2 < lines.size(); ++i) {
    if (ToUpper(lines[i]) == header) return i;
  }
  return std::nullopt;
}

}  // namespace

const std::string& TranslationTable::Text(int key) const {
  static const std::string empty;
  if (key < 0 || static_cast<size_t>(key) >= slots_.size()) return empty;
  return slots_[static_cast<size_t>(key)];
}

void TranslationTable::Reset() { slots_.assign(kSlotCount, std::string()); }

void TranslationTable::LoadLanguage(const ResourceModule& resources, std::string_view code) {
  const std::unique_ptr<ResourceStream> stream = resources.Open(kResourceName);
  const std::optional<std::string> bytes = stream ? ReadWhole(*stream) : std::nullopt;
  if (!bytes) {
    Reset();
    return;
  }
  LoadSection(DecodeTextLines(*bytes), code);
}

bool TranslationTable::LoadSection(const std::vector<std::string>& lines, std::string_view code) {
  const std::optional<size_t> header = FindHeader(lines, code);
  if (!header) {
    Reset();
    return false;
  }
  if (slots_.size() < kSlotCount) slots_.resize(kSlotCount);
  OverlayBody(lines, *header + 1);
  return true;
}

void TranslationTable::OverlayBody(const std::vector<std::string>& lines, size_t first) {
  for (size_t i = first; i < lines.size() && !lines[i].starts_with('['); ++i) {
    const std::string& line = lines[i];
    const size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0) continue;
    const std::optional<int64_t> key = ParseInteger(std::string_view(line).substr(0, equals));
    const std::string_view value = std::string_view(line).substr(equals + 1);
    if (!key || *key < 0 || *key >= kSlotCount || value.empty()) continue;
    slots_[static_cast<size_t>(*key)] = std::string(value);
  }
}

}  // namespace dbinst
