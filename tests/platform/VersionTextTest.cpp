#include "platform/VersionText.h"

#include <gtest/gtest.h>

#include "tools/pe/PeWriter.h"

namespace dbinst {
namespace {

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

std::string TextOf(const VersionResource& version) {
  return FileVersionTextOf(BuildVersionBlock(version, false));
}

TEST(VersionTextTest, FirstTranslationNamesTheTableWithLanguageFirst) {
  VersionResource version = MakeVersionResource({6, 2, 0, 15}, "6.2.0.15", 0x0415, 0x04E2);
  version.translations.push_back({0x0409, 0x04B0});
  version.stringTables.push_back({"040904b0", {{"FileVersion", "9.9.9.9"}}});
  EXPECT_EQ(TextOf(version), "6.2.0.15");

  std::swap(version.translations[0], version.translations[1]);
  EXPECT_EQ(TextOf(version), "9.9.9.9");
}

TEST(VersionTextTest, UpperCaseTableKeyAnswersTheLowerCaseQuery) {
  const VersionResource version = MakeVersionResource({5, 81, 0, 0}, "5.81", 0x0409, 0x04E4);
  ASSERT_EQ(version.stringTables[0].key, "040904E4");
  EXPECT_EQ(TextOf(version), "5.81");
}

TEST(VersionTextTest, TextIsTrimmedAndNotTheFixedVersion) {
  EXPECT_EQ(TextOf(MakeVersionResource({2, 0, 0, 0}, " \t2.0.0.0  ")), "2.0.0.0");
  EXPECT_EQ(TextOf(MakeVersionResource({2, 0, 0, 0}, "1.9")), "1.9");
}

TEST(VersionTextTest, TextIsCutAfter254CharactersBeforeTrimming) {
  const std::string longText = Repeat("ż", 250) + "    .5";
  EXPECT_EQ(TextOf(MakeVersionResource({1, 0, 0, 0}, longText)), Repeat("ż", 250));
  EXPECT_EQ(TextOf(MakeVersionResource({1, 0, 0, 0}, std::string(300, '7'))),
            std::string(254, '7'));
}

TEST(VersionTextTest, UnreadableVersionsGiveAnEmptyText) {
  VersionResource noTranslation = MakeVersionResource({1, 0, 0, 0}, "1.0");
  noTranslation.translations.clear();
  EXPECT_EQ(TextOf(noTranslation), "");

  VersionResource otherTable = MakeVersionResource({1, 0, 0, 0}, "1.0");
  otherTable.stringTables[0].key = "040904b0";
  EXPECT_EQ(TextOf(otherTable), "");

  VersionResource noFileVersion = MakeVersionResource({1, 0, 0, 0}, "1.0");
  noFileVersion.stringTables[0].items = {{"ProductVersion", "1.0"}};
  EXPECT_EQ(TextOf(noFileVersion), "");

  EXPECT_EQ(FileVersionTextOf({}), "");
}

}  // namespace
}  // namespace dbinst
