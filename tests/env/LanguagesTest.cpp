#include "env/Languages.h"

#include <gtest/gtest.h>

#include <utility>

namespace dbinst {
namespace {

TEST(LanguagesTest, EveryListedLangIdGivesItsCode) {
  const std::vector<std::pair<std::vector<uint16_t>, std::string>> table = {
      {{1045}, "lang0"},
      {{1033, 2057, 3081, 4105, 5129, 6153, 7177, 8201, 9225, 10249, 11273, 12297, 13321, 16393,
        17417, 18441},
       "lang1"},
      {{1029}, "lang2"},
      {{1031, 2055, 3079, 4103, 5127}, "lang3"},
      {{5146, 8218, 30746}, "lang4"},
      {{1049}, "lang5"},
      {{26, 1050, 4122}, "lang6"},
      {{1038}, "lang7"},
      {{1040}, "lang8"},
      {{1034,  2058,  3082,  4106,  5130,  6154,  7178,  8202,  9226,  10250, 11274,
        12298, 13322, 14346, 15370, 16394, 17418, 18442, 19466, 20490, 21514},
       "lang9"},
      {{2074, 3098, 6170, 7194, 31770}, "lang10"},
      {{1036, 2060, 3084, 4108, 5132, 6156}, "lang11"},
      {{1026}, "lang12"},
      {{1048}, "lang13"},
      {{1051}, "lang14"},
      {{1046, 2070}, "lang15"},
      {{1053, 2077}, "lang16"},
      {{1063}, "lang17"},
      {{1058}, "lang18"},
      {{1035}, "lang19"},
  };
  for (const auto& [langIds, code] : table) {
    for (const uint16_t langId : langIds) EXPECT_EQ(LanguageCodeOfLangId(langId), code) << langId;
  }
}

TEST(LanguagesTest, UnlistedLangIdsGiveNoCode) {
  for (const uint16_t langId : {0, 9, 21, 1041, 14345, 15369, 65535})
    EXPECT_EQ(LanguageCodeOfLangId(langId), std::nullopt) << langId;
}

TEST(LanguagesTest, UnsupportedOrUnknownLanguagesFallBackToEnglish) {
  EXPECT_EQ(SystemLanguageCodeOfLangId(1045), "lang0");
  EXPECT_EQ(SystemLanguageCodeOfLangId(1031), "lang3");
  EXPECT_EQ(SystemLanguageCodeOfLangId(1051), "lang14");
  EXPECT_EQ(SystemLanguageCodeOfLangId(3082), "lang9");
  EXPECT_EQ(SystemLanguageCodeOfLangId(1040), "lang1");
  EXPECT_EQ(SystemLanguageCodeOfLangId(1036), "lang1");
  EXPECT_EQ(SystemLanguageCodeOfLangId(1026), "lang1");
  EXPECT_EQ(SystemLanguageCodeOfLangId(0), "lang1");
  EXPECT_EQ(SystemLanguageCodeOfLangId(1041), "lang1");
}

TEST(LanguagesTest, NamesAndMaterialsFoldersFollowTheCodes) {
  EXPECT_EQ(LanguageNameOfCode("lang0"), "POLSKI");
  EXPECT_EQ(LanguageNameOfCode("lang19"), "FINNISH");
  EXPECT_EQ(LanguageNameOfCode("lang20"), "");
  EXPECT_EQ(LanguageNameOfCode("LANG0"), "");
  const auto folders = MakeMaterialsFolderMap();
  EXPECT_EQ(folders.at("lang1"), "Materials");
  EXPECT_EQ(folders.at("lang5"), "Материалы");
  EXPECT_EQ(folders.size(), 14u);
  EXPECT_FALSE(folders.contains("lang14"));
}

}  // namespace
}  // namespace dbinst
