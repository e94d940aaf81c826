#include "env/SetupIni.h"

#include <optional>

#include "platform/FileSystem.h"
#include "platform/Profile.h"
#include "platform/Text.h"

namespace dbinst {
namespace {

bool ClosesSection(std::string_view line) {
  const size_t open = line.find('[');
  const size_t close = line.find(']');
  return open != std::string_view::npos && close != std::string_view::npos && open < close;
}

struct PercentFields {
  std::string first;
  std::string second;
  std::string third;
};

// Fields split at the first two "%"; missing fields are empty.
PercentFields SplitPercent(std::string_view line) {
  PercentFields fields;
  const size_t first = line.find('%');
  fields.first = std::string(line.substr(0, first));
  if (first == std::string_view::npos) return fields;
  const std::string_view rest = line.substr(first + 1);
  const size_t second = rest.find('%');
  fields.second = std::string(rest.substr(0, second));
  if (second != std::string_view::npos) fields.third = std::string(rest.substr(second + 1));
  return fields;
}

TLanguageEntry EntryOfLine(std::string_view line, const FileSystem& files,
                           std::string_view installerFolder) {
  const PercentFields fields = SplitPercent(line);
  TLanguageEntry entry;
  entry.name = fields.first;
  entry.code = fields.third.empty() ? fields.first : fields.third;
  const std::string auxiliary = std::string(installerFolder) + fields.second;
  if (!files.FileExists(auxiliary)) entry.auxiliary = auxiliary;
  const std::string folder = std::string(installerFolder) + "wersje_jezykowe\\" + entry.code;
  if (files.FolderExists(folder)) entry.folder = folder;
  return entry;
}

void ApplyForcedLanguage(std::string_view forcingLine, std::vector<TLanguageEntry>& entries) {
  const size_t equals = forcingLine.find('=');
  if (equals == std::string_view::npos) return;
  const std::string code = Trim(forcingLine.substr(equals + 1));
  for (const TLanguageEntry& entry : entries) {
    if (entry.code != code) continue;
    TLanguageEntry forced = entry;
    forced.selected = true;
    entries.assign(1, forced);
    return;
  }
}

}  // namespace

std::vector<std::string> SetupIniSection(const std::vector<std::string>& lines,
                                         std::string_view section) {
  const std::string header = "[" + std::string(section) + "]";
  size_t start = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (EqualsNoCase(lines[i], header)) {
      start = i + 1;
      break;
    }
  }
  for (size_t end = start; end < lines.size(); ++end) {
    if (ClosesSection(lines[end])) return {lines.begin() + start, lines.begin() + end};
  }
  return {};
}

std::vector<TLanguageEntry> ParseLanguageEntries(const std::vector<std::string>& lines,
                                                 const FileSystem& files,
                                                 std::string_view installerFolder) {
  if (lines.empty()) {
    return {
        {"POLSKI", "0", std::string(installerFolder) + "wersje_jezykowe\\lang0", "lang0", true}};
  }
  std::vector<TLanguageEntry> entries;
  for (const std::string& line : SetupIniSection(lines, "JEZYKI")) {
    if (line.find("FORCELANG") != std::string::npos) {
      ApplyForcedLanguage(line, entries);
      break;
    }
    if (line.find('%') != std::string::npos)
      entries.push_back(EntryOfLine(line, files, installerFolder));
  }
  return entries;
}

std::vector<TAllowedIcad> ParseAllowedIcads(const std::vector<std::string>& lines,
                                            const FileSystem& files,
                                            std::string_view installerFolder) {
  std::vector<TAllowedIcad> icads;
  for (const std::string& line : SetupIniSection(lines, "ICAD")) {
    if (line.find('%') == std::string::npos) continue;
    const PercentFields fields = SplitPercent(line);
    TAllowedIcad icad{fields.first, fields.second, {}};
    const std::string prototypes = std::string(installerFolder) + "prototypy\\" + fields.third;
    if (files.FolderExists(prototypes)) icad.prototypeFolder = prototypes;
    icads.push_back(icad);
  }
  return icads;
}

std::map<std::string, std::string> ParseVersionTexts(const std::vector<std::string>& lines) {
  std::map<std::string, std::string> versions;
  for (const std::string& line : SetupIniSection(lines, "WERSJE")) {
    const size_t percent = line.find('%');
    if (percent == std::string::npos) continue;
    const std::string_view word = std::string_view(line).substr(0, percent);
    for (const char* known : {"KESTRIO", "RENDER", "WYCENA", "AGD"}) {
      if (word.find(known) != std::string_view::npos) versions[known] = line.substr(percent + 1);
    }
  }
  return versions;
}

std::string ParseSetupName(const std::vector<std::string>& lines) {
  for (const std::string& line : SetupIniSection(lines, "NAME")) {
    std::string name = Trim(line);
    if (!name.empty()) return name;
  }
  return {};
}

PriceList ParsePriceList(const std::vector<std::string>& lines) {
  for (const std::string& line : SetupIniSection(lines, "WYCENA")) {
    if (Trim(line).empty()) continue;
    const PercentFields fields = SplitPercent(line);
    return {Trim(fields.first), Trim(fields.second)};
  }
  return {};
}

SetupIniSettings ReadSetupIniSettings(const ProfileReader& profiles, std::string_view iniPath) {
  SetupIniSettings settings;
  settings.setupDir = Trim(profiles.GetString(iniPath, "ICADINST", "SETUPDIR", "Setup_icad"));
  settings.dot4Version = Trim(profiles.GetString(iniPath, "ICADVERDEF", "DOT4VER", "6.6"));
  settings.productLineCode = Trim(profiles.GetString(iniPath, "INFOPROD", "LINE", ""));
  return settings;
}

}  // namespace dbinst
