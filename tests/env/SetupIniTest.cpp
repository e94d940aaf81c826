#include "env/SetupIni.h"

#include <gtest/gtest.h>

namespace dbinst {
namespace {

using Lines = std::vector<std::string>;

TEST(SetupIniTest, SectionRunsFromHeaderToNextBracketedLine) {
  const Lines lines = {"[ICAD]", "a%b%c", "[jezyki]", "POLSKI%x%lang0", "", "[NAME]", "n"};
  EXPECT_EQ(SetupIniSection(lines, "JEZYKI"), (Lines{"POLSKI%x%lang0", ""}));
  EXPECT_EQ(SetupIniSection(lines, "ICAD"), (Lines{"a%b%c"}));
}

TEST(SetupIniTest, SectionWithoutClosingLineIsEmpty) {
  EXPECT_TRUE(SetupIniSection({"[NAME]", "n"}, "NAME").empty());
}

TEST(SetupIniTest, MissingHeaderScansFromTheFirstLine) {
  EXPECT_EQ(SetupIniSection({"x%y", "z", "[END]"}, "JEZYKI"), (Lines{"x%y", "z"}));
  EXPECT_TRUE(SetupIniSection({"[OTHER]", "x%y", "[END]"}, "JEZYKI").empty());
}

TEST(SetupIniTest, OnlyBracketBeforeClosingBracketEndsASection) {
  const Lines lines = {"[WERSJE]", "a]b[", "]", "[", "KESTRIO%6.1", "[x]"};
  EXPECT_EQ(SetupIniSection(lines, "WERSJE"), (Lines{"a]b[", "]", "[", "KESTRIO%6.1"}));
}

TEST(SetupIniTest, VersionTextsOfTheKnownWords) {
  const Lines lines = {"[WERSJE]", "KESTRIO 6%6.1.2", "XRENDERX%2%x", "OTHER%1", "AGD", "[END]"};
  const auto versions = ParseVersionTexts(lines);
  EXPECT_EQ(versions.at("KESTRIO"), "6.1.2");
  EXPECT_EQ(versions.at("RENDER"), "2%x");
  EXPECT_FALSE(versions.contains("AGD"));
  EXPECT_EQ(versions.size(), 2u);
}

TEST(SetupIniTest, NameAndPriceList) {
  const Lines lines = {"[NAME]", "", " Orvane 2 ", "[WYCENA]", "cennik.xls % Wycena ", "[END]"};
  EXPECT_EQ(ParseSetupName(lines), "Orvane 2");
  const PriceList prices = ParsePriceList(lines);
  EXPECT_EQ(prices.file, "cennik.xls");
  EXPECT_EQ(prices.folder, "Wycena");
}

}  // namespace
}  // namespace dbinst
