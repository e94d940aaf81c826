#include "platform/TextLines.h"

#include <gtest/gtest.h>

namespace dbinst {
namespace {

using Lines = std::vector<std::string>;

TEST(TextLinesTest, Utf8MarkIsDroppedAndEveryLineEndSplits) {
  EXPECT_EQ(DecodeTextLines("\xEF\xBB\xBF[LANG0]\r\n0=a\nb\rc"),
            (Lines{"[LANG0]", "0=a", "b", "c"}));
}

TEST(TextLinesTest, LineEndAtTheEndAddsNoEmptyLineButBlankLinesStay) {
  EXPECT_EQ(DecodeTextLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
  EXPECT_EQ(DecodeTextLines("\r\n"), (Lines{""}));
  EXPECT_TRUE(DecodeTextLines("").empty());
  EXPECT_TRUE(DecodeTextLines("\xEF\xBB\xBF").empty());
}

TEST(TextLinesTest, Utf16MarksPickTheByteOrder) {
  const std::string little(
      "\xFF\xFE"
      "a\0=\0\x42\x01\r\0\n\0b\0",
      14);
  EXPECT_EQ(DecodeTextLines(little), (Lines{"a=\xC5\x82", "b"}));
  const std::string big("\xFE\xFF\0a\0=\x01\x42\0\n\0b", 12);
  EXPECT_EQ(DecodeTextLines(big), (Lines{"a=\xC5\x82", "b"}));
}

TEST(TextLinesTest, OddTrailingByteOfUtf16BecomesAReplacementCharacter) {
  const std::string odd(
      "\xFF\xFE"
      "a\0b",
      5);
  EXPECT_EQ(DecodeTextLines(odd), (Lines{"a\xEF\xBF\xBD"}));
}

TEST(TextLinesTest, BrokenUtf8BecomesReplacementCharacters) {
  EXPECT_EQ(DecodeTextLines("0=\xFF\xC5\n"), (Lines{"0=\xEF\xBF\xBD\xEF\xBF\xBD"}));
}

}  // namespace
}  // namespace dbinst
