#include "platform/prefix/RegFile.h"

#include <gtest/gtest.h>

#include "platform/RegistryValue.h"
#include "platform/Text.h"
#include "tests/platform/prefix/ScratchFolder.h"

namespace dbinst {
namespace {

using test::FixturePath;
using test::ReadFile;

const RegKeyNode* Find(const RegFile& file, std::string_view path) {
  const RegKeyNode* key = &file.Root();
  for (std::string_view part : SplitRegPath(path)) {
    key = key->FindSubKey(part);
    if (!key) return nullptr;
  }
  return key;
}

std::optional<RegValue> Value(const RegFile& file, std::string_view path, std::string_view name) {
  const RegKeyNode* key = Find(file, path);
  const RegNamedValue* value = key ? key->FindValue(name) : nullptr;
  if (!value) return std::nullopt;
  return value->value;
}

std::string Text(const RegFile& file, std::string_view path, std::string_view name) {
  auto value = Value(file, path, name);
  return value ? RegValueText(*value).value_or("<not text>") : "<missing>";
}

class FreshUserReg : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    file_ = new RegFile(
        RegFile::Parse(ReadFile(FixturePath("wine-8.0-fresh-prefix/user.reg")), "user.reg"));
  }
  static void TearDownTestSuite() { delete file_; }
  static RegFile* file_;
};
RegFile* FreshUserReg::file_ = nullptr;

TEST_F(FreshUserReg, ParsesWholeWithoutProblems) {
  EXPECT_TRUE(file_->Problems().empty()) << file_->Problems()[0];
  EXPECT_TRUE(file_->IsWin64());
  EXPECT_EQ(file_->RelativeTo(), "REGISTRY\\User\\S-1-5-21-0-0-0-1000");
}

TEST_F(FreshUserReg, ReadsEveryValueForm) {
  const std::string probe = "Software\\Probe";
  EXPECT_EQ(Text(*file_, probe, ""), "default value");
  EXPECT_EQ(Value(*file_, probe, "Expand")->type, kRegExpandSz);
  EXPECT_EQ(Text(*file_, probe, "Expand"), "%USERPROFILE%\\Temp");
  auto multi = Value(*file_, probe, "Multi");
  ASSERT_TRUE(multi);
  EXPECT_EQ(multi->type, kRegMultiSz);
  EXPECT_EQ(RegValueMultiText(*multi), (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_EQ(multi->data.size(), (3 + 1 + 3 + 1 + 5 + 1 + 1) * 2u);
  EXPECT_EQ(RegValueInteger(*Value(*file_, probe, "Dword")), 0x12345678);
  auto qword = Value(*file_, probe, "Qword");
  EXPECT_EQ(qword->type, kRegQword);
  EXPECT_EQ(qword->data, (std::vector<uint8_t>{0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11}));
  auto longValue = Value(*file_, probe, "Long");
  ASSERT_TRUE(longValue);
  EXPECT_EQ(longValue->type, kRegBinary);
  ASSERT_EQ(longValue->data.size(), 64u);
  for (size_t i = 0; i < 64; ++i) EXPECT_EQ(longValue->data[i], i);
}

TEST_F(FreshUserReg, DecodesEscapedPolishNamesAndBracketsInKeyNames) {
  const std::string key = "Software\\Probe\\Zażółć \"gęślą\" [jaźń]";
  ASSERT_TRUE(Find(*file_, key));
  EXPECT_EQ(Find(*file_, key)->Name(), "Zażółć \"gęślą\" [jaźń]");
  EXPECT_EQ(Text(*file_, key, "Wartość\\ z \"cudzysłowem\""), "Łódź – €5 \\ \"ok\"");
  // Names compare without regard to case, Polish letters included.
  EXPECT_EQ(Text(*file_, "SOFTWARE\\PROBE\\ZAŻÓŁĆ \"GĘŚLĄ\" [JAŹŃ]", "WARTOŚĆ\\ Z \"CUDZYSŁOWEM\""),
            "Łódź – €5 \\ \"ok\"");
}

TEST_F(FreshUserReg, KeepsValuesInFileOrder) {
  const RegKeyNode* key = Find(*file_, "Software\\VELMORA\\ORVANE\\INSTALLATIONS");
  ASSERT_TRUE(key);
  std::vector<std::string> names;
  std::vector<double> days;
  for (const RegNamedValue& value : key->Values()) {
    names.push_back(value.name);
    days.push_back(RegValueDouble(value.value).value_or(-1));
  }
  EXPECT_EQ(names,
            (std::vector<std::string>{"C:\\Orvane 1.5", "C:\\Orvane 1.7", "D:\\Stare\\Orvane"}));
  EXPECT_EQ(days, (std::vector<double>{20110512.5, 20130101.0, 20130101.0}));
}

TEST(RegFile, ReadsPolishNoBreakSpaceAndLocale) {
  const RegFile file =
      RegFile::Parse(ReadFile(FixturePath("wine-8.0-polish-user/user.reg")), "user.reg");
  EXPECT_TRUE(file.Problems().empty());
  EXPECT_EQ(Text(file, "Control Panel\\International", "Locale"), "00000415");
  EXPECT_EQ(Text(file, "Control Panel\\International", "sThousand"), "\u00a0");
}

TEST(RegFile, ParsesSystemRegWithLinksAndArch) {
  const RegFile file =
      RegFile::Parse(ReadFile(FixturePath("wine-8.0-fresh-prefix/system.reg")), "system.reg");
  EXPECT_TRUE(file.Problems().empty());
  EXPECT_TRUE(file.IsWin64());
  EXPECT_EQ(file.RelativeTo(), "REGISTRY\\Machine");
  const RegKeyNode* link = Find(file, "Software\\Wow6432Node\\Classes");
  ASSERT_TRUE(link);
  EXPECT_TRUE(link->IsLink());
  EXPECT_EQ(link->FindValue("SymbolicLinkValue")->value.type, kRegLink);
  EXPECT_FALSE(Find(file, "Software\\Classes")->IsLink());
  EXPECT_EQ(Text(file, "Software\\Microsoft\\Windows NT\\CurrentVersion", "CurrentBuildNumber"),
            "7601");
}

TEST(RegFile, ReadsEscapesAndCrLfLines) {
  const RegFile file = RegFile::Parse(
      "WINE REGISTRY Version 2\r\n\r\n[A\\\\B] 1\r\n#time=1\r\n"
      "\"tabs\"=\"a\\tb\\nc\\rd\\ae\\bf\\vg\\fh\\ei\"\r\n"
      "\"octal\"=\"x\\0y\\101\"\r\n"
      "\"hex\"=\"\\x41\\x0142\\xd83d\\xde00\"\r\n"
      "\"raw\"=\"zażółć\"\r\n"
      "\"typed\"=str:\"plain\"\r\n"
      "\"bin\"=hex(0):01,02,\\\r\n  03\r\n",
      "t.reg");
  EXPECT_TRUE(file.Problems().empty());
  EXPECT_EQ(Text(file, "a\\b", "tabs"), "a\tb\nc\rd\ae\bf\vg\fh\x1bi");
  auto octal = Value(file, "A\\B", "octal");
  EXPECT_EQ(octal->data, (std::vector<uint8_t>{'x', 0, 0, 0, 'y', 0, 'A', 0, 0, 0}));
  EXPECT_EQ(Text(file, "A\\B", "hex"), "Ał\U0001F600");
  EXPECT_EQ(Text(file, "A\\B", "raw"), "zażółć");
  EXPECT_EQ(Text(file, "A\\B", "typed"), "plain");
  auto bin = Value(file, "A\\B", "bin");
  EXPECT_EQ(bin->type, kRegNone);
  EXPECT_EQ(bin->data, (std::vector<uint8_t>{1, 2, 3}));
}

TEST(RegFile, MergesRepeatedSectionsAndLetsTheLastValueWin) {
  const RegFile file = RegFile::Parse(
      "WINE REGISTRY Version 2\n[K] 1\n\"v\"=\"one\"\n\"w\"=\"w\"\n[k] 2\n\"V\"=\"two\"\n",
      "t.reg");
  const RegKeyNode* key = Find(file, "K");
  ASSERT_TRUE(key);
  EXPECT_EQ(file.Root().SubKeys().size(), 1u);
  EXPECT_EQ(key->Values().size(), 2u);
  EXPECT_EQ(Text(file, "K", "v"), "two");
}

TEST(RegFile, SkipsMalformedLinesWithNotesAndKeepsTheRest) {
  const RegFile file = RegFile::Parse(
      "WINE REGISTRY Version 2\n"
      "[Good] 1\n"
      "\"a\"=\"fine\"\n"
      "\"b\"=\"unterminated\n"
      "\"c\"=\"bad \\x escape\"\n"
      "\"d\"=\"ends in \\x\"\n"
      "\"e\"=hex:01,zz\n"
      "\"f\"=dword:123456789\n"
      "\"g\"=\"ok\" junk\n"
      "\"h\"\n"
      "\"i\"=blob:01\n"
      "\"j\"=hex:01,02,\n"
      "garbage line\n"
      "\"k\"=\"unknown \\q escape\"\n"
      "[Broken\\\\Key 5\n"
      "\"lost\"=\"with its section\"\n"
      "[Good\\\\Child] 1\n"
      "\"z\"=\"kept\"\n",
      "t.reg");
  EXPECT_EQ(Text(file, "Good", "a"), "fine");
  for (const char* skipped : {"b", "c", "e", "f", "g", "h", "i", "j"}) {
    EXPECT_FALSE(Value(file, "Good", skipped)) << skipped;
  }
  EXPECT_EQ(Text(file, "Good", "d"), "<missing>");
  EXPECT_EQ(Text(file, "Good", "k"), "unknown q escape");
  EXPECT_EQ(Text(file, "Good\\Child", "z"), "kept");
  EXPECT_FALSE(Find(file, "Broken"));
  ASSERT_EQ(file.ProblemCount(), 12u);
  EXPECT_EQ(file.Problems()[0].rfind("t.reg:4: ", 0), 0u) << file.Problems()[0];
}

TEST(RegFile, ReportsAMissingHeaderButReadsTheKeys) {
  const RegFile file = RegFile::Parse("REGEDIT4\n[A] 1\n\"x\"=\"y\"\n", "t.reg");
  ASSERT_EQ(file.ProblemCount(), 1u);
  EXPECT_NE(file.Problems()[0].find("WINE REGISTRY Version 2"), std::string::npos);
  EXPECT_EQ(Text(file, "A", "x"), "y");
}

TEST(RegFile, StopsAtTheEndOfAFileCutInsideAHexList) {
  const RegFile cutAtEnd =
      RegFile::Parse("WINE REGISTRY Version 2\n[A] 1\n\"x\"=hex:01,02,\\\n  03,\\", "t.reg");
  EXPECT_FALSE(Value(cutAtEnd, "A", "x"));
  EXPECT_EQ(cutAtEnd.ProblemCount(), 1u);

  // A continuation that never comes leaves the next section alone.
  const RegFile cutBeforeSection = RegFile::Parse(
      "WINE REGISTRY Version 2\n[A] 1\n\"x\"=hex:01,\\\n[B] 1\n\"y\"=\"kept\"\n", "t.reg");
  EXPECT_FALSE(Value(cutBeforeSection, "A", "x"));
  EXPECT_EQ(Text(cutBeforeSection, "B", "y"), "kept");

  const RegFile truncatedLine =
      RegFile::Parse("WINE REGISTRY Version 2\n[A] 1\n\"x\"=\"abc", "t.reg");
  EXPECT_FALSE(Value(truncatedLine, "A", "x"));
  EXPECT_TRUE(Find(truncatedLine, "A"));
}

TEST(RegFile, ReadsAnEndlessContinuationOnlyToTheEnd) {
  std::string text = "WINE REGISTRY Version 2\n[A] 1\n\"x\"=hex:00,\\\n";
  for (int i = 0; i < 10000; ++i) text += "  01,\\\n";
  const RegFile file = RegFile::Parse(text, "t.reg");
  EXPECT_FALSE(Value(file, "A", "x"));
  EXPECT_EQ(file.ProblemCount(), 1u);
}

TEST(RegFile, CapsTheNumberOfProblemNotes) {
  std::string text = "WINE REGISTRY Version 2\n[A] 1\n";
  for (int i = 0; i < 100; ++i) text += "nonsense\n";
  const RegFile file = RegFile::Parse(text, "t.reg");
  EXPECT_EQ(file.ProblemCount(), 100u);
  ASSERT_EQ(file.Problems().size(), RegFile::kMaxProblemNotes + 1);
  EXPECT_NE(file.Problems().back().find("80 more"), std::string::npos);
}

TEST(RegFile, SurvivesArbitraryBytes) {
  std::string text = "WINE REGISTRY Version 2\n";
  uint32_t seed = 12345;
  for (int i = 0; i < 200000; ++i) {
    seed = seed * 1103515245 + 12345;
    static const char kAlphabet[] = "[]\\\"@=#:,\n\r x0123456789abcdefhstrwod()";
    text += (seed >> 16) % 7 == 0 ? static_cast<char>(seed >> 8)
                                  : kAlphabet[(seed >> 16) % (sizeof kAlphabet - 1)];
  }
  const RegFile file = RegFile::Parse(text, "t.reg");
  EXPECT_GT(file.ProblemCount(), 0u);
}

TEST(RegFile, SplitsPathsAtBackslashesDroppingEmptyParts) {
  EXPECT_EQ(SplitRegPath("\\A\\\\B\\"), (std::vector<std::string_view>{"A", "B"}));
  EXPECT_TRUE(SplitRegPath("").empty());
}

}  // namespace
}  // namespace dbinst
