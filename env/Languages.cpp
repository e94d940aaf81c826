#include "env/Languages.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace dbinst {
namespace {

struct LangIdRow {
  int languageNumber;
  std::initializer_list<uint16_t> langIds;
};

const std::array<LangIdRow, 20>& LangIdTable() {
  static const std::array<LangIdRow, 20> table = {{
      {0, {1045}},
      {1,
       {1033, 2057, 3081, 4105, 5129, 6153, 7177, 8201, 9225, 10249, 11273, 12297, 13321, 16393,
        17417, 18441}},
      {2, {1029}},
      {3, {1031, 2055, 3079, 4103, 5127}},
      {4, {5146, 8218, 30746}},
      {5, {1049}},
      {6, {26, 1050, 4122}},
      {7, {1038}},
      {8, {1040}},
      {9, {1034,  2058,  3082,  4106,  5130,  6154,  7178,  8202,  9226,  10250, 11274,
           12298, 13322, 14346, 15370, 16394, 17418, 18442, 19466, 20490, 21514}},
      {10, {2074, 3098, 6170, 7194, 31770}},
      {11, {1036, 2060, 3084, 4108, 5132, 6156}},
      {12, {1026}},
      {13, {1048}},
      {14, {1051}},
      {15, {1046, 2070}},
      {16, {1053, 2077}},
      {17, {1063}},
      {18, {1058}},
      {19, {1035}},
  }};
  return table;
}

constexpr std::array<const char*, 20> kLanguageNames = {
    "POLSKI",    "ENGLISH",    "CZECH",   "GERMAN",     "BOSNIAN",   "RUSSIAN",   "CROATIAN",
    "HUNGARIAN", "ITALIAN",    "SPANISH", "SERBIAN",    "FRENCH",    "BULGARIAN", "ROMANIAN",
    "SLOVAK",    "PORTUGUESE", "SWEDISH", "LITHUANIAN", "UKRAINIAN", "FINNISH"};

std::string CodeOfNumber(int number) { return "lang" + std::to_string(number); }

}  // namespace

std::optional<std::string> LanguageCodeOfLangId(uint16_t langId) {
  for (const LangIdRow& row : LangIdTable()) {
    if (std::find(row.langIds.begin(), row.langIds.end(), langId) != row.langIds.end())
      return CodeOfNumber(row.languageNumber);
  }
  return std::nullopt;
}

const std::vector<std::string>& SupportedLanguageCodes() {
  static const std::vector<std::string> codes = {"lang0", "lang1", "lang2", "lang3",
                                                 "lang5", "lang7", "lang9", "lang14"};
  return codes;
}

std::string SystemLanguageCodeOfLangId(uint16_t langId) {
  const std::optional<std::string> code = LanguageCodeOfLangId(langId);
  const auto& supported = SupportedLanguageCodes();
  if (code && std::find(supported.begin(), supported.end(), *code) != supported.end()) return *code;
  return "lang1";
}

std::string LanguageNameOfCode(std::string_view code) {
  for (size_t number = 0; number < kLanguageNames.size(); ++number) {
    if (code == CodeOfNumber(static_cast<int>(number))) return kLanguageNames[number];
  }
  return {};
}

std::map<std::string, std::string> MakeMaterialsFolderMap() {
  return {{"lang0", "Materialy"},   {"lang1", "Materials"},  {"lang2", "Materiály"},
          {"lang3", "Materialien"}, {"lang4", "Materiali"},  {"lang5", "Материалы"},
          {"lang6", "Materiali"},   {"lang7", "Anyagok"},    {"lang8", "Materiali"},
          {"lang9", "Materiales"},  {"lang10", "Materiali"}, {"lang11", "Matieres"},
          {"lang12", "Материали"},  {"lang13", "Materiale"}};
}

}  // namespace dbinst
