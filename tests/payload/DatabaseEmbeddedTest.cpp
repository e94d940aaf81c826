#include "payload/DatabaseEmbedded.h"

#include <gtest/gtest.h>

namespace dbinst {
namespace {

TDatabaseDate Date(int32_t year, int32_t month, int32_t day) { return {year, month, day}; }

TEST(DatabaseEmbeddedTest, DatesReadYearMonthAndDayUntilAPartDoesNotMatch) {
  EXPECT_EQ(ParseDatabaseDate("2011-5-12"), Date(2011, 5, 12));
  EXPECT_EQ(ParseDatabaseDate("2013"), Date(2013, 0, 0));
  EXPECT_EQ(ParseDatabaseDate(""), Date(0, 0, 0));
  EXPECT_EQ(ParseDatabaseDate("maj 2013"), Date(0, 0, 0));
  EXPECT_EQ(ParseDatabaseDate("2013-x-1"), Date(2013, 0, 0));
  EXPECT_EQ(ParseDatabaseDate(" 2020- 03-04"), Date(2020, 3, 4));
  EXPECT_EQ(ParseDatabaseDate("2020-123-4"), Date(2020, 12, 0));
  EXPECT_EQ(ParseDatabaseDate("2020/03/04"), Date(2020, 0, 0));
}

TEST(DatabaseEmbeddedTest, HugeYearsSaturateInsteadOfOverflowing) {
  EXPECT_EQ(ParseDatabaseDate("99999999999999999999-1-1"), Date(2147483647, 1, 1));
  EXPECT_EQ(ParseDatabaseDate("-99999999999999999999"), Date(-2147483647 - 1, 0, 0));
}

TEST(DatabaseEmbeddedTest, OnlyDatesWithAllThreePartsAreValid) {
  EXPECT_TRUE(Date(2011, 5, 12).IsValid());
  EXPECT_FALSE(Date(2013, 0, 0).IsValid());
  EXPECT_TRUE(Date(0, 0, 0).IsEmpty());
  EXPECT_EQ(Date(2013, 0, 0).DisplayText(), "00.00.2013");
  EXPECT_EQ(Date(2011, 5, 2).DisplayText(), "02.05.2011");
}

TEST(DatabaseEmbeddedTest, TypeTextsMatchExactly) {
  EXPECT_EQ(DatabaseTypeOfText("TILES"), EDatabaseType::Tiles);
  EXPECT_EQ(DatabaseTypeOfText("HHD"), EDatabaseType::HouseholdAppliances);
  EXPECT_EQ(DatabaseTypeOfText("MATERIALS"), EDatabaseType::Materials);
  EXPECT_EQ(DatabaseTypeOfText("tiles"), EDatabaseType::None);
  EXPECT_EQ(DatabaseTypeOfText("INTERIORS"), EDatabaseType::None);
  EXPECT_EQ(DatabaseTypeOfText(""), EDatabaseType::None);
}

TEST(DatabaseEmbeddedTest, ExtensionIsReplacedOnlyInTheLastComponent) {
  EXPECT_EQ(ChangeFileExtension("Opoczno2013.mdb", ".7z"), "Opoczno2013.7z");
  EXPECT_EQ(ChangeFileExtension("Opoczno", ".ini"), "Opoczno.ini");
  EXPECT_EQ(ChangeFileExtension("a.b\\c", ".ini"), "a.b\\c.ini");
  EXPECT_EQ(ChangeFileExtension("", ".7z"), ".7z");
}

TEST(DatabaseEmbeddedTest, PlainFileNamesStayOneComponent) {
  EXPECT_TRUE(IsPlainFileName("Opoczno 2013.mdb"));
  EXPECT_TRUE(IsPlainFileName("..x"));
  EXPECT_FALSE(IsPlainFileName(".."));
  EXPECT_FALSE(IsPlainFileName("a\\b"));
  EXPECT_FALSE(IsPlainFileName("a/b"));
  EXPECT_FALSE(IsPlainFileName("C:x"));
  EXPECT_FALSE(IsPlainFileName("*.ini"));
}

}  // namespace
}  // namespace dbinst
