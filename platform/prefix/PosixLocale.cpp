#include "platform/prefix/PosixLocale.h"

#include <cstdlib>
#include <string>

#include "platform/Text.h"

namespace dbinst {
namespace {

struct LocaleRow {
  const char* name;  // language, or language_TERRITORY
  uint16_t langId;
};

// Specific territories first; a bare language falls back to its default sub-language.
constexpr LocaleRow kLocales[] = {
    {"pl_PL", 1045},  {"pl", 1045},     {"en_US", 1033},  {"en_GB", 2057},  {"en_AU", 3081},
    {"en_CA", 4105},  {"en_NZ", 5129},  {"en_IE", 6153},  {"en_ZA", 7177},  {"en_JM", 8201},
    {"en_BZ", 10249}, {"en_TT", 11273}, {"en_ZW", 12297}, {"en_PH", 13321}, {"en_IN", 16393},
    {"en_MY", 17417}, {"en_SG", 18441}, {"en", 1033},     {"cs_CZ", 1029},  {"cs", 1029},
    {"de_DE", 1031},  {"de_CH", 2055},  {"de_AT", 3079},  {"de_LU", 4103},  {"de_LI", 5127},
    {"de", 1031},     {"bs_BA", 5146},  {"bs", 5146},     {"ru_RU", 1049},  {"ru", 1049},
    {"hr_HR", 1050},  {"hr_BA", 4122},  {"hr", 1050},     {"hu_HU", 1038},  {"hu", 1038},
    {"it_IT", 1040},  {"it_CH", 2064},  {"it", 1040},     {"es_ES", 3082},  {"es_MX", 2058},
    {"es_GT", 4106},  {"es_CR", 5130},  {"es_PA", 6154},  {"es_DO", 7178},  {"es_VE", 8202},
    {"es_CO", 9226},  {"es_PE", 10250}, {"es_AR", 11274}, {"es_EC", 12298}, {"es_CL", 13322},
    {"es_UY", 14346}, {"es_PY", 15370}, {"es_BO", 16394}, {"es_SV", 17418}, {"es_HN", 18442},
    {"es_NI", 19466}, {"es_PR", 20490}, {"es_US", 21514}, {"es", 3082},     {"sr_RS", 10266},
    {"sr", 10266},    {"fr_FR", 1036},  {"fr_BE", 2060},  {"fr_CA", 3084},  {"fr_CH", 4108},
    {"fr_LU", 5132},  {"fr_MC", 6156},  {"fr", 1036},     {"bg_BG", 1026},  {"bg", 1026},
    {"ro_RO", 1048},  {"ro", 1048},     {"sk_SK", 1051},  {"sk", 1051},     {"pt_BR", 1046},
    {"pt_PT", 2070},  {"pt", 2070},     {"sv_SE", 1053},  {"sv_FI", 2077},  {"sv", 1053},
    {"lt_LT", 1063},  {"lt", 1063},     {"uk_UA", 1058},  {"uk", 1058},     {"fi_FI", 1035},
    {"fi", 1035},
};

}  // namespace

uint16_t LangIdOfPosixLocale(std::string_view locale) {
  // "pl_PL.UTF-8@euro": the codeset and modifier do not change the language.
  const std::string_view base = locale.substr(0, locale.find_first_of(".@"));
  if (base == "C" || base == "POSIX") return 1033;
  const std::string_view language = base.substr(0, base.find('_'));
  for (const LocaleRow& row : kLocales) {
    if (EqualsNoCase(row.name, base)) return row.langId;
  }
  for (const LocaleRow& row : kLocales) {
    if (EqualsNoCase(row.name, language)) return row.langId;
  }
  return 0;
}

std::string_view PosixLocaleFromEnvironment() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return {};
}

uint32_t AnsiCodePageOfLangId(uint16_t langId) {
  switch (langId & 0x3FF) {
    case 0x05:  // Czech
    case 0x0E:  // Hungarian
    case 0x15:  // Polish
    case 0x18:  // Romanian
    case 0x1B:  // Slovak
    case 0x24:  // Slovenian
      return 1250;
    case 0x1A:  // Croatian, Bosnian and Serbian share a primary language; Serbian Cyrillic is 1251
      return (langId == 3098 || langId == 7194 || langId == 10266) ? 1251 : 1250;
    case 0x02:  // Bulgarian
    case 0x19:  // Russian
    case 0x22:  // Ukrainian
      return 1251;
    default:
      return 1252;
  }
}

}  // namespace dbinst
