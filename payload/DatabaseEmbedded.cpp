#include "payload/DatabaseEmbedded.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>
#include <optional>

#include "platform/Text.h"

namespace dbinst {
namespace {

bool IsScanSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// One scanf "%d" conversion with an optional field width (0: none); saturates instead of the
// undefined result scanf gives on overflow.
std::optional<int32_t> ScanInteger(std::string_view& text, size_t width) {
  size_t pos = 0;
  while (pos < text.size() && IsScanSpace(text[pos])) ++pos;
  const size_t limit = width == 0 ? text.size() : std::min(text.size(), pos + width);
  bool negative = false;
  if (pos < limit && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  int64_t value = 0;
  const size_t digitsStart = pos;
  for (; pos < limit && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    if (value <= std::numeric_limits<int32_t>::max()) value = value * 10 + (text[pos] - '0');
  }
  if (pos == digitsStart) return std::nullopt;
  text.remove_prefix(pos);
  if (negative) value = -value;
  constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(std::clamp(value, kMin, kMax));
}

bool ScanHyphen(std::string_view& text) {
  if (text.empty() || text.front() != '-') return false;
  text.remove_prefix(1);
  return true;
}

constexpr std::array<std::pair<std::string_view, EDatabaseType>, 6> kTypeTexts = {{
    {"TILES", EDatabaseType::Tiles},
    {"INTERIOR", EDatabaseType::Interiors},
    {"CABINETS", EDatabaseType::Cabinets},
    {"HHD", EDatabaseType::HouseholdAppliances},
    {"WALLS", EDatabaseType::Walls},
    {"MATERIALS", EDatabaseType::Materials},
}};

}  // namespace

std::string TDatabaseDate::DisplayText() const {
  char text[48];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d", Day, Month, Year);
  return text;
}

TDatabaseDate ParseDatabaseDate(std::string_view text) {
  TDatabaseDate date;
  const auto year = ScanInteger(text, 0);
  if (!year) return date;
  date.Year = *year;
  if (!ScanHyphen(text)) return date;
  const auto month = ScanInteger(text, 2);
  if (!month) return date;
  date.Month = *month;
  if (!ScanHyphen(text)) return date;
  const auto day = ScanInteger(text, 2);
  if (day) date.Day = *day;
  return date;
}

EDatabaseType DatabaseTypeOfText(std::string_view text) {
  for (const auto& [name, type] : kTypeTexts) {
    if (text == name) return type;
  }
  return EDatabaseType::None;
}

std::string TextOfDatabaseType(EDatabaseType type) {
  for (const auto& [name, each] : kTypeTexts) {
    if (each == type) return std::string(name);
  }
  return {};
}

std::string ChangeFileExtension(std::string_view name, std::string_view extension) {
  const size_t dot = name.find_last_of(".\\:");
  if (dot != std::string_view::npos && name[dot] == '.') name = name.substr(0, dot);
  return std::string(name) + std::string(extension);
}

bool IsPlainFileName(std::string_view name) {
  return name != "." && name != ".." && name.find_first_of("\\/:*?\"<>|") == std::string_view::npos;
}

bool IsNamedDatabaseType(EDatabaseType type) {
  return type == EDatabaseType::Tiles || type == EDatabaseType::Interiors ||
         type == EDatabaseType::Cabinets || type == EDatabaseType::HouseholdAppliances;
}

void ReadDescriptionFields(const DescriptionValue& value, TDatabaseEmbedded& database) {
  // Two different defaults tell a key that is there from one that is not.
  const auto has = [&](std::string_view section, std::string_view key) {
    return value(section, key, "0") != "0" || value(section, key, "1") != "1";
  };
  const auto integer = [&](std::string_view key) {
    return ParseInteger(Trim(value("INSTALL", key, ""))).value_or(0);
  };
  database.Name = value("info", "BAZA", database.Name);
  database.DataText = value("info", "DATA", database.DataText);
  database.MDate = has("info", "MDATE") ? ParseDatabaseDate(value("info", "MDATE", ""))
                                        : ParseDatabaseDate(database.DataText);
  database.UDate = has("info", "UDATE") ? ParseDatabaseDate(value("info", "UDATE", ""))
                                        : ParseDatabaseDate(database.DataText);
  database.Type = has("INSTALL", "TYPE") ? DatabaseTypeOfText(value("INSTALL", "TYPE", ""))
                                         : EDatabaseType::None;
  database.TargetName = value("INSTALL", "TARGETNAME", "");
  database.TargetSize = integer("TARGETSIZE");
  database.FormatFdb = integer("FORMATFDB") != 0;
}

}  // namespace dbinst
