#include "platform/prefix/RegTextEdit.h"

#include <gtest/gtest.h>

#include "platform/RegistryValue.h"

namespace dbinst {
namespace {

std::optional<std::string> Edit(const std::string& text, std::string_view path,
                                std::string_view name, std::string_view value = "0") {
  const RegFile parsed = RegFile::Parse(text, "t.reg");
  std::string error;
  return RegTextWithValue(text, parsed, path, name, MakeRegText(value), 1796768612, error);
}

const std::string kHeader = "WINE REGISTRY Version 2\n\n";

TEST(RegTextEdit, ReplacesAMultiLineValueWhole) {
  const std::string text =
      kHeader + "[K] 1\n#time=1\n\"v\"=hex:01,02,\\\n  03,04,\\\n  05\n\"w\"=\"x\"\n";
  EXPECT_EQ(Edit(text, "k", "V"), kHeader + "[K] 1\n#time=1\n\"v\"=\"0\"\n\"w\"=\"x\"\n");
}

TEST(RegTextEdit, KeepsAMissingLastLineEnd) {
  EXPECT_EQ(Edit(kHeader + "[K] 1\n\"v\"=\"1\"", "K", "v"), kHeader + "[K] 1\n\"v\"=\"0\"");
  EXPECT_EQ(Edit(kHeader + "[K] 1\n#time=1", "K", "v"), kHeader + "[K] 1\n#time=1\n\"v\"=\"0\"\n");
  EXPECT_EQ(Edit(kHeader + "[K] 1\n\"a\"=\"b\"", "L", "v").value().substr(kHeader.size() + 13),
            "\n\n[L] 1796768612\n#time=1dd8762c1dcca00\n\"v\"=\"0\"\n");
}

TEST(RegTextEdit, AddsTheValueToTheLastSectionOfARepeatedKey) {
  const std::string text =
      kHeader + "[K] 1\n\"a\"=\"1\"\n\n[K] 2\n#time=2\n#class=\"c\"\n\"b\"=\"2\"\n";
  EXPECT_EQ(
      Edit(text, "K", "v"),
      kHeader + "[K] 1\n\"a\"=\"1\"\n\n[K] 2\n#time=2\n#class=\"c\"\n\"v\"=\"0\"\n\"b\"=\"2\"\n");
}

TEST(RegTextEdit, WritesNewSectionsWithTheFileSpellingAndEscapes) {
  const std::string text = kHeader + "[Control Panel\\\\Other] 1\n\"a\"=\"1\"\n";
  const auto edited = Edit(text, "CONTROL PANEL\\Zażółć [x]", "Wartość \"q\"", "ą\\");
  ASSERT_TRUE(edited);
  EXPECT_EQ(edited->substr(text.size()),
            "\n[Control Panel\\\\Za\\x17c\\xf3\\x142\\x107 \\[x\\]] 1796768612\n"
            "#time=1dd8762c1dcca00\n\"Warto\\x15b\\x107 \\\"q\\\"\"=\"\\x105\\\\\"\n");
}

TEST(RegTextEdit, RefusesAPathThroughALink) {
  const std::string text = kHeader + "[L] 1\n#link\n\"SymbolicLinkValue\"=hex(6):41,00\n";
  std::string error;
  const RegFile parsed = RegFile::Parse(text, "t.reg");
  EXPECT_FALSE(RegTextWithValue(text, parsed, "L\\Sub", "v", MakeRegText("0"), 0, error));
  EXPECT_NE(error.find("link"), std::string::npos);
}

}  // namespace
}  // namespace dbinst
