#include "platform/prefix/PosixLocale.h"

#include <gtest/gtest.h>

namespace dbinst {
namespace {

TEST(PosixLocaleTest, LocaleNamesMapToTheirLangIds) {
  EXPECT_EQ(LangIdOfPosixLocale("pl_PL.UTF-8"), 1045);
  EXPECT_EQ(LangIdOfPosixLocale("en_GB.UTF-8"), 2057);
  EXPECT_EQ(LangIdOfPosixLocale("de_AT@euro"), 3079);
  EXPECT_EQ(LangIdOfPosixLocale("es_ES.UTF-8"), 3082);
  EXPECT_EQ(LangIdOfPosixLocale("C.UTF-8"), 1033);
  EXPECT_EQ(LangIdOfPosixLocale("POSIX"), 1033);
}

TEST(PosixLocaleTest, UnknownTerritoryFallsBackToTheLanguage) {
  EXPECT_EQ(LangIdOfPosixLocale("pl_XX.UTF-8"), 1045);
  EXPECT_EQ(LangIdOfPosixLocale("cs"), 1029);
  EXPECT_EQ(LangIdOfPosixLocale("xx_YY"), 0);
  EXPECT_EQ(LangIdOfPosixLocale(""), 0);
}

TEST(PosixLocaleTest, CodePagesFollowTheScriptOfTheLanguage) {
  EXPECT_EQ(AnsiCodePageOfLangId(1045), 1250u);
  EXPECT_EQ(AnsiCodePageOfLangId(1051), 1250u);
  EXPECT_EQ(AnsiCodePageOfLangId(1049), 1251u);
  EXPECT_EQ(AnsiCodePageOfLangId(3098), 1251u);
  EXPECT_EQ(AnsiCodePageOfLangId(2074), 1250u);
  EXPECT_EQ(AnsiCodePageOfLangId(1031), 1252u);
  EXPECT_EQ(AnsiCodePageOfLangId(0), 1252u);
}

}  // namespace
}  // namespace dbinst
