#include "env/ProductLines.h"

#include "env/TextKeys.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace dbinst {
namespace {

struct ProductLineRow {
  const char* executable;
  const char* programName;
  int nameKey;
  const char* keys[3];  // program, previous version, previous installations
};

constexpr ProductLineRow kNoneRow = {
    "CadNothing.exe",
    "CadNothing",
    TextKey::ProductOrvane,
    {"\\CADNOTHING", "\\CADNOTHING", "\\CADNOTHING\\INSTALLATIONS"}};

constexpr ProductLineRow kRows[] = {
    {"Orvane.exe",
     "Orvane",
     TextKey::ProductOrvane,
     {"\\ORVANE2", "\\ORVANE", "\\ORVANE\\INSTALLATIONS"}},
    {"Orvane_Selka.exe",
     "OrvaneSelka",
     TextKey::ProductOrvaneSelka,
     {"\\ORVANE2", "\\ORVANE", "\\ORVANE_SELKA\\INSTALLATIONS"}},
    {"Orvane.exe",
     "OrvaneDemo",
     TextKey::ProductOrvaneDemo,
     {"\\ORVANE2", "\\ORVANE", "\\ORVANE\\INSTALLATIONS"}},
    {"Kestrio.exe",
     "Kestrio",
     TextKey::ProductKestrio,
     {"\\KESTRIO6", "\\KESTRIO", "\\KESTRIO\\INSTALLATIONS"}},
    {"OrvanePro.exe",
     "OrvanePro",
     TextKey::ProductOrvanePro,
     {"\\ORVANEPRO", "\\PLEASEDONTFINDME", "\\PLEASEDONTFINDME"}},
    {"OrvanePro.exe",
     "OrvaneProDemo",
     TextKey::ProductOrvaneProDemo,
     {"\\ORVANEPRO", "\\PLEASEDONTFINDME", "\\PLEASEDONTFINDME"}},
};

const ProductLineRow& RowOf(EProductLine line) {
  return IsKnownProductLine(line) ? kRows[static_cast<int32_t>(line) - 1] : kNoneRow;
}

}  // namespace

std::vector<EProductLine> AllProductLines() {
  return {EProductLine::Orvane,  EProductLine::OrvaneSelka, EProductLine::OrvaneDemo,
          EProductLine::Kestrio, EProductLine::OrvanePro,   EProductLine::OrvaneProDemo};
}

bool IsKnownProductLine(EProductLine line) {
  const auto number = static_cast<int32_t>(line);
  return number >= 1 && number <= 6;
}

TStringToProductMap MakeStringToProductMap() {
  return {{"OV", EProductLine::Orvane},       {"OVS", EProductLine::OrvaneSelka},
          {"OVD", EProductLine::OrvaneDemo},  {"KS", EProductLine::Kestrio},
          {"OVPRO", EProductLine::OrvanePro}, {"OVPROD", EProductLine::OrvaneProDemo}};
}

TProductToStringMap MakeProductToStringMap(const TStringToProductMap& codes) {
  TProductToStringMap inverse;
  for (const auto& [code, line] : codes) inverse[line] = code;
  return inverse;
}

TProductToProductMultimap MakeProductToProductMultimap() {
  using L = EProductLine;
  TProductToProductMultimap pairs;
  for (const auto& [from, to] : {std::pair{L::Orvane, L::Orvane},
                                 {L::Orvane, L::OrvaneSelka},
                                 {L::OrvaneSelka, L::OrvaneSelka},
                                 {L::OrvaneSelka, L::Orvane},
                                 {L::Kestrio, L::Kestrio},
                                 {L::OrvanePro, L::Kestrio},
                                 {L::OrvanePro, L::Orvane},
                                 {L::OrvanePro, L::OrvaneSelka}})
    pairs.emplace(from, to);
  return pairs;
}

EProductLine ProductLineOfCode(const TStringToProductMap& codes, std::string_view code) {
  const auto found = codes.find(ToUpper(Trim(code)));
  return found == codes.end() ? EProductLine::None : found->second;
}

std::string ExecutableOfProductLine(EProductLine line) { return RowOf(line).executable; }

std::string ProgramNameOfProductLine(EProductLine line) { return RowOf(line).programName; }

int NameKeyOfProductLine(EProductLine line) { return RowOf(line).nameKey; }

std::string RegistryKeyOfProductLine(EProductLine line, EProductKeyKind kind) {
  const auto index = static_cast<int32_t>(kind);
  const char* key = (index >= 0 && index <= 2) ? RowOf(line).keys[index] : "\\CADNOTHING";
  return std::string(kFamilyRegistryKey) + key;
}

std::vector<TProgramFileForCheckup> CheckListOfProductLine(EProductLine line) {
  const int32_t executableMajor = line == EProductLine::Kestrio ? 6 : 2;
  return {{ExecutableOfProductLine(line), executableMajor, 0},
          {"Manager.dll", 6, 0},
          {"kafle.dll", 2, 0}};
}

bool IsNotProfessionalLine(EProductLine line) {
  return line != EProductLine::OrvanePro && line != EProductLine::OrvaneProDemo;
}

std::vector<EProductGroup> GroupsAcceptingDatabaseType(EDatabaseType type) {
  using G = EProductGroup;
  switch (type) {
    case EDatabaseType::Tiles:
    case EDatabaseType::Walls:
    case EDatabaseType::Materials:
      return {G::OrvanePro, G::Orvane, G::Kestrio};
    case EDatabaseType::Interiors:
      return {G::OrvanePro, G::Kestrio, G::Orvane};
    case EDatabaseType::Cabinets:
    case EDatabaseType::HouseholdAppliances:
      return {G::OrvanePro, G::Kestrio};
    default:
      return {};
  }
}

bool HasProductSpecificDatabaseType(EDatabaseType type) {
  const auto number = static_cast<int32_t>(type);
  return number >= 0 && number <= 3;
}

int NameKeyOfDatabaseType(EDatabaseType type) {
  const auto number = static_cast<int32_t>(type);
  return (number >= 0 && number <= 5) ? TextKey::TilesDatabaseName + number
                                      : TextKey::OtherDatabaseName;
}

std::string DatabaseFolder(const FileSystem& files, std::string_view programFolder,
                           EDatabaseType type, std::string_view languageCode,
                           const std::map<std::string, std::string>& materialsFolders) {
  const std::string folder = WithTrailingBackslash(programFolder);
  switch (type) {
    case EDatabaseType::Tiles:
      return folder + "Plytki\\";
    case EDatabaseType::Interiors:
      return folder + "dodatki\\";
    case EDatabaseType::Cabinets:
      return folder;
    case EDatabaseType::HouseholdAppliances:
      return folder + "AGD\\";
    case EDatabaseType::Walls:
      return folder + "WALLS\\";
    case EDatabaseType::Materials: {
      const auto found = materialsFolders.find(std::string(languageCode));
      if (found != materialsFolders.end() && files.FolderExists(folder + found->second))
        return folder + found->second + "\\";
      return folder + "Materialy\\";
    }
    default:
      return {};
  }
}

}  // namespace dbinst
