#include "env/TranslationTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/TextLines.h"

namespace dbinst {
namespace {

using Lines = std::vector<std::string>;

// A section followed by two more lines, so the header never sits among the last two.
Lines WithTail(Lines lines) {
  lines.insert(lines.end(), {"[END]", "0=end"});
  return lines;
}

std::vector<std::string> ShippedTableLines() {
  std::ifstream in(std::filesystem::path(DBINST_SOURCE_DIR) / "resources" / "TxtTransl.txt",
                   std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return DecodeTextLines(bytes.str());
}

TEST(TranslationTableTest, ResetGivesThousandEmptySlotsAndKeysOutsideAreEmpty) {
  TranslationTable table;
  EXPECT_EQ(table.Text(0), "");
  table.Reset();
  ASSERT_TRUE(
      table.LoadSection(WithTail({"[LANG1]", "999=last", "1000=over", "-1=under"}), "lang1"));
  EXPECT_EQ(table.Text(999), "last");
  EXPECT_EQ(table.Text(1000), "");
  EXPECT_EQ(table.Text(-1), "");
  EXPECT_EQ(table.Text(998), "");
}

TEST(TranslationTableTest, HeaderMatchesWithoutRegardToCaseButOnlyAsWholeLine) {
  TranslationTable table;
  table.Reset();
  EXPECT_TRUE(table.LoadSection(WithTail({"[lang3]", "5=klein"}), "LANG3"));
  EXPECT_EQ(table.Text(5), "klein");
  EXPECT_FALSE(table.LoadSection(WithTail({" [LANG3]", "5=blank"}), "lang3"));
  EXPECT_EQ(table.Text(5), "");
}

TEST(TranslationTableTest, HeaderAmongTheLastTwoLinesCountsAsMissingAndEmptiesTheTable) {
  TranslationTable table;
  table.Reset();
  ASSERT_TRUE(table.LoadSection(WithTail({"[LANG0]", "1=Orvane"}), "lang0"));
  EXPECT_FALSE(table.LoadSection({"0=x", "[LANG1]", "1=Late"}, "lang1"));
  EXPECT_EQ(table.Text(1), "");
  EXPECT_FALSE(table.LoadSection({"[LANG1]", "1=Late"}, "lang1"));
  EXPECT_TRUE(table.LoadSection({"[LANG1]", "1=Early", "2=x"}, "lang1"));
  EXPECT_EQ(table.Text(1), "Early");
}

TEST(TranslationTableTest, MalformedBodyLinesAreSkipped) {
  TranslationTable table;
  table.Reset();
  ASSERT_TRUE(table.LoadSection(WithTail({"[LANG0]", "17=kept", "20=x"}), "lang0"));
  ASSERT_TRUE(table.LoadSection(WithTail({"[LANG1]", "17=", "no equals sign", "=5", "abc=text",
                                          "4x=text", "20=a=b", "21= spaced "}),
                                "lang1"));
  EXPECT_EQ(table.Text(17), "kept");
  EXPECT_EQ(table.Text(5), "");
  EXPECT_EQ(table.Text(20), "a=b");
  EXPECT_EQ(table.Text(21), " spaced ");
}

TEST(TranslationTableTest, SectionEndsAtLineBeginningWithBracket) {
  TranslationTable table;
  table.Reset();
  ASSERT_TRUE(table.LoadSection({"[LANG0]", "1=a", "[LANG1]", "2=b", "3=c"}, "lang0"));
  EXPECT_EQ(table.Text(1), "a");
  EXPECT_EQ(table.Text(2), "");
}

TEST(TranslationTableTest, SecondLoadKeepsSlotsItDoesNotName) {
  TranslationTable table;
  table.Reset();
  const Lines lines = WithTail({"[LANG0]", "1=jeden", "260=tylko polski", "[LANG1]", "1=one"});
  ASSERT_TRUE(table.LoadSection(lines, "lang0"));
  ASSERT_TRUE(table.LoadSection(lines, "lang1"));
  EXPECT_EQ(table.Text(1), "one");
  EXPECT_EQ(table.Text(260), "tylko polski");
}

TEST(TranslationTableTest, FreedTableAnswersEveryKeyWithEmptyText) {
  TranslationTable table;
  table.Reset();
  ASSERT_TRUE(table.LoadSection(WithTail({"[LANG0]", "1=x"}), "lang0"));
  table.Free();
  EXPECT_EQ(table.Text(1), "");
}

TEST(TranslationTableTest, ShippedTableGivesPolishAndEnglishTexts) {
  const Lines lines = ShippedTableLines();
  TranslationTable table;
  table.Reset();
  ASSERT_TRUE(table.LoadSection(lines, "lang0"));
  EXPECT_EQ(table.Text(23), "Dalej");
  EXPECT_EQ(table.Text(25), "Zakończ");
  EXPECT_EQ(table.Text(126), "%s: %s MB");
  ASSERT_TRUE(table.LoadSection(lines, "lang1"));
  EXPECT_EQ(table.Text(23), "Next");
  EXPECT_EQ(table.Text(0), "%s Program Installer");
  EXPECT_EQ(table.Text(150), "Another database");
}

}  // namespace
}  // namespace dbinst
