#include "platform/Text.h"

#include <gtest/gtest.h>

namespace dbinst {
namespace {

TEST(TextTest, CaseFoldingCoversPolishAndCyrillicLetters) {
  EXPECT_EQ(ToUpper("zażółć gęślą jaźń"), "ZAŻÓŁĆ GĘŚLĄ JAŹŃ");
  EXPECT_EQ(ToLower("ZAŻÓŁĆ GĘŚLĄ JAŹŃ"), "zażółć gęślą jaźń");
  EXPECT_EQ(ToUpper("материалы"), "МАТЕРИАЛЫ");
  EXPECT_TRUE(EqualsNoCase("Software\\Probe\\ŁÓDŹ", "SOFTWARE\\probe\\łódź"));
  EXPECT_FALSE(EqualsNoCase("abc", "abcd"));
  EXPECT_TRUE(StartsWithNoCase("/PATH:c:\\x", "/path:"));
  EXPECT_FALSE(StartsWithNoCase("/pa", "/path:"));
}

TEST(TextTest, Utf16RoundTripJoinsSurrogatePairs) {
  const std::string text = "Łódź – €5 😀";
  const std::u16string wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide.size(), 12u);
  EXPECT_EQ(Utf16ToUtf8(wide), text);
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(TextTest, Utf16UnitsReadEitherByteOrderAndLeaveAnOddLastByteOut) {
  EXPECT_EQ(Utf16Units(std::string("A\0\x41\x01", 4)), u"A\u0141");
  EXPECT_EQ(Utf16Units(std::string("\0A\x01\x41", 4), true), u"A\u0141");
  EXPECT_EQ(Utf16Units(std::string("A\0B", 3)), u"A");
  EXPECT_EQ(Utf16Units(""), u"");
  EXPECT_EQ(SanitizedUtf8("\xC5\x81x\xFF"), "\xC5\x81x\xEF\xBF\xBD");
}

TEST(TextTest, MalformedUtf8DecodesAsReplacementCharacters) {
  EXPECT_EQ(ToUpper("a\xC5"), "A\xEF\xBF\xBD");
  EXPECT_EQ(ToUpper("\xFF"), "\xEF\xBF\xBD");
}

TEST(TextTest, TrimRemovesSpacesAndControlCharactersOnly) {
  EXPECT_EQ(Trim(" \t icad.exe \r\n"), "icad.exe");
  EXPECT_EQ(Trim("\xC2\xA0x"), "\xC2\xA0x");
  EXPECT_EQ(Trim("   "), "");
}

TEST(TextTest, ParseIntegerRejectsJunkAndOverflow) {
  EXPECT_EQ(ParseInteger("17"), 17);
  EXPECT_EQ(ParseInteger("-5"), -5);
  EXPECT_EQ(ParseInteger("-9223372036854775808"), INT64_MIN);
  EXPECT_FALSE(ParseInteger("9223372036854775808"));
  EXPECT_FALSE(ParseInteger("1a"));
  EXPECT_FALSE(ParseInteger(" 1"));
  EXPECT_FALSE(ParseInteger("-"));
  EXPECT_FALSE(ParseInteger(""));
}

TEST(TextTest, PlaceholdersFillInOrderAndLeaveOtherPercentSignsAlone) {
  EXPECT_EQ(FillPlaceholders("%s: %s MB", {"C", "1,5"}), "C: 1,5 MB");
  EXPECT_EQ(FillPlaceholders("100% %d %s", {"x", "y"}), "100% %d x");
  EXPECT_EQ(FillPlaceholders("%s and %s", {"one"}), "one and ");
}

TEST(TextTest, TrailingBackslashHelpers) {
  EXPECT_EQ(WithTrailingBackslash("C:\\a"), "C:\\a\\");
  EXPECT_EQ(WithTrailingBackslash("C:\\a\\"), "C:\\a\\");
  EXPECT_EQ(WithTrailingBackslash(""), "\\");
  EXPECT_EQ(WithoutTrailingBackslash("C:\\a\\\\"), "C:\\a");
}

}  // namespace
}  // namespace dbinst
