#include "app/VerifyPage.h"

#include <gtest/gtest.h>

#include "tests/app/ShippedTexts.h"

namespace dbinst {
namespace {

TDatabaseAndTargetDatePairVec Existing(size_t count) {
  TDatabaseAndTargetDatePairVec existing;
  for (size_t i = 1; i <= count; ++i) {
    TDatabaseEmbedded database;
    database.Type = EDatabaseType::Tiles;
    database.Name = "T" + std::to_string(i);
    database.MDate = {2011, 5, 12};
    existing.emplace_back(database, TDatabaseDate{2011, 11, 1});
  }
  return existing;
}

const TextOfKey& Polish() {
  static const TextOfKey texts = test::ShippedTexts("lang0");
  return texts;
}

TEST(VerifyPageTest, NoExistingDatabaseSkipsThePage) {
  EXPECT_TRUE(MakeVerifyPage({}, Polish()).NothingOverwritten);
  EXPECT_FALSE(MakeVerifyPage(Existing(1), Polish()).NothingOverwritten);
}

TEST(VerifyPageTest, OneDatabaseIsSingularWithBothDatesDayFirst) {
  const TVerifyPage page = MakeVerifyPage(Existing(1), Polish());
  EXPECT_EQ(page.Header, "W katalogu docelowym znajduje się już baza danych:");
  EXPECT_EQ(page.Foot, "W przypadku kontynuacji zostanie ona nadpisana.");
  EXPECT_EQ(*page.Names[0], " - Baza płytek T1");
  EXPECT_EQ(*page.Dates[0], "Instalowana: 12.05.2011, istniejąca: 01.11.2011");
  for (size_t i = 1; i < kVerifyPairCount; ++i) {
    EXPECT_FALSE(page.Names[i].has_value());
    EXPECT_FALSE(page.Dates[i].has_value());
  }
}

TEST(VerifyPageTest, FourDatabasesFillFourPairsWithoutSummary) {
  const TVerifyPage page = MakeVerifyPage(Existing(4), Polish());
  EXPECT_EQ(page.Header, "W katalogu docelowym znajdują się już bazy danych:");
  EXPECT_EQ(page.Foot, "W przypadku kontynuacji zostaną one nadpisane.");
  EXPECT_EQ(*page.Names[3], " - Baza płytek T4");
  EXPECT_TRUE(page.Dates[3].has_value());
}

TEST(VerifyPageTest, FiveDatabasesShowThreeAndSumUpTheRestWithoutDates) {
  const TVerifyPage page = MakeVerifyPage(Existing(5), Polish());
  EXPECT_EQ(*page.Names[2], " - Baza płytek T3");
  EXPECT_EQ(*page.Names[3], " - Oraz inne bazy (2)");
  EXPECT_FALSE(page.Dates[3].has_value());
}

TEST(VerifyPageTest, YearOnlyDateIsWrittenWithZerosAndWallsAreNamed) {
  TDatabaseAndTargetDatePairVec existing = Existing(1);
  existing[0].first.MDate = {2013, 0, 0};
  existing[0].first.Type = EDatabaseType::Walls;
  existing[0].first.TargetName = "Cegla";
  const TVerifyPage page = MakeVerifyPage(existing, test::ShippedTexts("lang1"));
  EXPECT_EQ(*page.Dates[0], "Being installed: 00.00.2013, existing: 01.11.2011");
  EXPECT_NE(*page.Names[0], " - ");
  EXPECT_NE(page.Names[0]->find("Cegla"), std::string::npos);
}

}  // namespace
}  // namespace dbinst
