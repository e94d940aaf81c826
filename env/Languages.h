#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dbinst {

// The code of a Windows LANGID ("lang0" ... "lang19"); nothing for a language the family lacks.
std::optional<std::string> LanguageCodeOfLangId(uint16_t langId);
// The languages this installer can show, in order of preference.
const std::vector<std::string>& SupportedLanguageCodes();
// The user's language when the installer can show it, else English.
std::string SystemLanguageCodeOfLangId(uint16_t langId);
// The family's name of a language code ("POLSKI"); empty for an unknown code.
std::string LanguageNameOfCode(std::string_view code);
// Language code -> name of the materials folder in that language.
std::map<std::string, std::string> MakeMaterialsFolderMap();

}  // namespace dbinst
