#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace dbinst {

class FileSystem;
class ProfileReader;

inline constexpr std::string_view kSetupIniName = "Setup.ini";

// One language of the family's Setup.ini.
struct TLanguageEntry {
  std::string name;       // as the file writes it, "POLSKI"
  std::string auxiliary;  // installer folder + the entry's second field, when no such file exists
  std::string folder;     // installer folder + "wersje_jezykowe\" + code, when that folder exists
  std::string code;       // "lang0"
  bool selected = false;
};

// One IntelliCAD version the family's full installer accepts.
struct TAllowedIcad {
  std::string first;
  std::string second;
  std::string prototypeFolder;  // installer folder + "prototypy\" + third field, when it exists
};

struct SetupIniSettings {
  std::string setupDir = "Setup_icad";
  std::string dot4Version = "6.6";
  std::string productLineCode;
};

struct PriceList {
  std::string file;
  std::string folder;
};

// The lines between the section's header (or the first line when there is none) and the next
// line holding "[" before "]"; nothing when no such line closes the section.
std::vector<std::string> SetupIniSection(const std::vector<std::string>& lines,
                                         std::string_view section);

// The [JEZYKI] entries, FORCELANG applied. A file without lines gives the one Polish entry.
std::vector<TLanguageEntry> ParseLanguageEntries(const std::vector<std::string>& lines,
                                                 const FileSystem& files,
                                                 std::string_view installerFolder);
std::vector<TAllowedIcad> ParseAllowedIcads(const std::vector<std::string>& lines,
                                            const FileSystem& files,
                                            std::string_view installerFolder);
// Word ("KESTRIO", "RENDER", "WYCENA", "AGD") -> its version text, from [WERSJE].
std::map<std::string, std::string> ParseVersionTexts(const std::vector<std::string>& lines);
std::string ParseSetupName(const std::vector<std::string>& lines);
PriceList ParsePriceList(const std::vector<std::string>& lines);

SetupIniSettings ReadSetupIniSettings(const ProfileReader& profiles, std::string_view iniPath);

}  // namespace dbinst
