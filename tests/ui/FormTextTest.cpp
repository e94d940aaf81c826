#include "ui/FormText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ui/FormStreamReader.h"

namespace dbinst {
namespace {

TFormValue ValueOf(const std::string& valueText) {
  const TFormObject form = ParseFormText("object A: TA\n  P = " + valueText + "\nend\n");
  return form.properties.at(0).value;
}

// "line:column message" of the error the text gives.
std::string ErrorOf(const std::string& text) {
  try {
    ParseFormText(text);
  } catch (const EFormTextError& error) {
    return std::to_string(error.Line()) + ":" + std::to_string(error.Column()) + " " + error.what();
  }
  return "no error";
}

TEST(FormTextTest, ReadsTheObjectTreeWithNamesFlagsAndPositions) {
  const TFormObject form = ParseFormText(
      "object Form: TForm\n"
      "  Font.Style = [fsBold]\n"
      "  inherited Kept: TLayout [2]\n"
      "    Items = <\n"
      "      item [7]\n"
      "        Value = 1\n"
      "      end\n"
      "      item\n"
      "      end>\n"
      "    object TUnnamed\n"
      "    end\n"
      "  end\n"
      "end\n");
  EXPECT_EQ(form.className, "TForm");
  EXPECT_EQ(form.Find("Font.Style")->elements, std::vector<std::string>{"fsBold"});
  ASSERT_EQ(form.children.size(), 1u);
  const TFormObject& kept = form.children[0];
  EXPECT_EQ(kept.filerFlags, kFilerInherited | kFilerChildPos);
  EXPECT_EQ(kept.childPosition, 2);
  const TFormValue& items = *kept.Find("Items");
  ASSERT_EQ(items.items.size(), 2u);
  EXPECT_EQ(items.items[0].order->integer, 7);
  EXPECT_FALSE(items.items[1].order.has_value());
  EXPECT_EQ(kept.children.at(0).className, "TUnnamed");
  EXPECT_EQ(kept.children.at(0).objectName, "");
}

TEST(FormTextTest, QuotedUtf8JoinedWithAWideCodeStaysReadable) {
  // Free Pascal widens each UTF-8 byte on its own here; we decode the text instead.
  const TFormValue value = ValueOf("'Kraków ' + #8364");
  EXPECT_EQ(value.type, EFormValueType::vaWString);
  EXPECT_EQ(value.Text(), "Kraków €");
  EXPECT_EQ(ValueOf("'Kraków'").type, EFormValueType::vaString);
  EXPECT_EQ(ValueOf("'Kraków'").Text(), "Kraków");
}

TEST(FormTextTest, CharacterCodesAboveTheBasicPlaneBecomeSurrogatePairs) {
  EXPECT_EQ(ValueOf("#128512").wide, u"\U0001F600");
  EXPECT_EQ(ErrorOf("object A: TA\n  P = #1114112\nend"),
            "2:15 line 2, column 15: character code above U+10FFFF");
}

TEST(FormTextTest, NumbersOutsideTheirRangeAreErrorsNotWrappedValues) {
  EXPECT_EQ(ValueOf("-9223372036854775808").integer, INT64_MIN);
  EXPECT_NE(ErrorOf("object A: TA\n  P = 9223372036854775808\nend").find("2:7"), std::string::npos);
  EXPECT_NE(ErrorOf("object A: TA\n  P = $10000000000000000\nend").find("longer than 64 bits"),
            std::string::npos);
  EXPECT_NE(ErrorOf("object A: TA\n  P = 1e99999\nend").find("float out of range"),
            std::string::npos);
  EXPECT_NE(ErrorOf("object A: TA\n  P = 1e\nend").find("exponent without digits"),
            std::string::npos);
}

TEST(FormTextTest, MalformedTextNamesTheLineAndColumn) {
  EXPECT_EQ(ErrorOf("object A: TA\n  P = 'open\nend"),
            "2:12 line 2, column 12: string not closed on its line");
  EXPECT_NE(ErrorOf("object A: TA\n  P = {ABC}\nend").find("odd number"), std::string::npos);
  EXPECT_NE(ErrorOf("object A: TA\n  P = {AZ}\nend").find("not hexadecimal"), std::string::npos);
  EXPECT_NE(ErrorOf("object A: TA\n  P = {AB\n").find("not closed"), std::string::npos);
  EXPECT_NE(ErrorOf("object A: TA\n  P = 1\n").find("'end' expected"), std::string::npos);
  EXPECT_NE(ErrorOf("object A: TA\nend\nend").find("3:1 "), std::string::npos);
  EXPECT_NE(ErrorOf("object A: TA\n  object B: TB\n  end\n  P = 1\nend").find("4:3 "),
            std::string::npos);
  EXPECT_NE(ErrorOf("object A: TA\n  P = 'a' +\nend").find("string expected after '+'"),
            std::string::npos);
  EXPECT_NE(ErrorOf("object A: TA\n  P = [a b]\nend").find("',' expected"), std::string::npos);
  EXPECT_NE(ErrorOf("object A: TA\n  P = (1\n").find("')' expected"), std::string::npos);
  EXPECT_NE(ErrorOf("object A: TA\n  P = <x>\nend").find("'item' or '>' expected"),
            std::string::npos);
  EXPECT_NE(ErrorOf("object A: TA\n  P = )\nend").find("property value expected"),
            std::string::npos);
  EXPECT_NE(ErrorOf("").find("'object', 'inherited' or 'inline' expected"), std::string::npos);
}

TEST(FormTextTest, NamesLongerThanAShortStringAreRefused) {
  const std::string longName(256, 'a');
  EXPECT_NE(ErrorOf("object A: TA\n  " + longName + " = 1\nend").find("longer than 255"),
            std::string::npos);
  EXPECT_NE(
      ErrorOf("object A: TA\n  P = x." + longName.substr(0, 254) + "\nend").find("longer than 255"),
      std::string::npos);
}

TEST(FormTextTest, AClassNameWhoseLengthWouldReadAsFilerFlagsIsRefused) {
  const std::string longest(kFormMaxClassName, 'T');
  EXPECT_EQ(ParseFormText("object A: " + longest + "\nend").className, longest);
  EXPECT_EQ(ErrorOf("object A: " + longest + "T\nend"),
            "1:11 line 1, column 11: class name longer than 239 bytes");
}

TEST(FormTextTest, EveryKeptRegressionTextIsACleanError) {
  namespace fs = std::filesystem;
  size_t count = 0;
  for (const auto& entry :
       fs::directory_iterator(fs::path(DBINST_TEST_FIXTURES) / "forms" / "regressions")) {
    if (entry.path().extension() != ".txt") continue;
    SCOPED_TRACE(entry.path().filename().string());
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_THROW(CompileFormText(text.str()), EFormTextError);
    ++count;
  }
  EXPECT_GT(count, 0u);
}

TEST(FormTextTest, DeepNestingIsAnErrorNotAStackOverflow) {
  EXPECT_NE(ErrorOf("object A: TA\n  P = " + std::string(100000, '(')).find("nesting deeper"),
            std::string::npos);
  std::string objects;
  for (int i = 0; i < 10000; ++i) objects += "object A: TA\n";
  EXPECT_NE(ErrorOf(objects).find("nesting deeper"), std::string::npos);
}

TEST(FormTextTest, CompiledTextReadsBackAsTheSameTree) {
  const std::string text =
      "object A: TA\n  S = 'x' + 'y'\n  L = (1 2.5 [a])\n  B = {00FF}\n"
      "  inline C: TC [1]\n  end\nend\n";
  const TFormObject read = ReadFormStream(CompileFormText(text));
  EXPECT_EQ(read.Find("S")->Text(), "xy");
  EXPECT_EQ(read.Find("L")->list.at(1).Number(), 2.5);
  EXPECT_EQ(read.Find("B")->bytes, std::string("\0\xFF", 2));
  EXPECT_EQ(read.children.at(0).filerFlags, kFilerInline | kFilerChildPos);
}

}  // namespace
}  // namespace dbinst
