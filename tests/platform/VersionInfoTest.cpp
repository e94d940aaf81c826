#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/FileVersion.h"
#include "tools/pe/PeWriter.h"

namespace dbinst {
namespace {

VersionResource TwoTables() {
  VersionResource version = MakeVersionResource({2, 1, 0, 5}, "2.1.0.5");
  version.productVersion = {2, 1, 0, 0};
  version.translations.push_back({0x0409, 1200});
  version.stringTables.push_back({"040904b0", {{"FileVersion", "2.1 English"}}});
  return version;
}

uint32_t Dword(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (uint32_t{bytes[at + 3]} << 24);
}

TEST(VersionInfoTest, RootAnswersTheFixedFileInfo) {
  const auto block = BuildVersionBlock(TwoTables(), false);
  const auto fixed = VerQueryValueRaw(block, "\\");
  ASSERT_TRUE(fixed);
  ASSERT_EQ(fixed->size(), 52u);
  EXPECT_EQ(Dword(*fixed, 0), 0xFEEF04BDu);
  EXPECT_EQ(Dword(*fixed, 8), 0x00020001u);
  EXPECT_EQ(Dword(*fixed, 12), 0x00000005u);
  EXPECT_EQ(Dword(*fixed, 16), 0x00020001u);
  EXPECT_EQ(Dword(*fixed, 20), 0x00000000u);
}

TEST(VersionInfoTest, TranslationListsEveryEntryInOrder) {
  const auto block = BuildVersionBlock(TwoTables(), false);
  const auto translations = VerQueryValueRaw(block, "\\VarFileInfo\\Translation");
  ASSERT_TRUE(translations);
  ASSERT_EQ(translations->size(), 8u);
  EXPECT_EQ(Dword(*translations, 0), 0x04E20415u);
  EXPECT_EQ(Dword(*translations, 4), 0x04B00409u);
}

TEST(VersionInfoTest, TableAndItemNamesMatchWithoutRegardToCase) {
  const auto block = BuildVersionBlock(TwoTables(), false);
  EXPECT_EQ(VerQueryValueText(block, "\\StringFileInfo\\041504e2\\FileVersion"), "2.1.0.5");
  EXPECT_EQ(VerQueryValueText(block, "\\STRINGFILEINFO\\041504E2\\fileversion"), "2.1.0.5");
  EXPECT_EQ(VerQueryValueText(block, "\\StringFileInfo\\040904B0\\FileVersion"), "2.1 English");
  EXPECT_EQ(VerQueryValueText(block, "\\StringFileInfo\\041504e2\\CompanyName"), "Velmora");
}

TEST(VersionInfoTest, MissingNodesAnswerNothing) {
  const auto block = BuildVersionBlock(TwoTables(), false);
  EXPECT_FALSE(VerQueryValueText(block, "\\StringFileInfo\\04150000\\FileVersion"));
  EXPECT_FALSE(VerQueryValueText(block, "\\StringFileInfo\\041504e2\\Comments"));
  EXPECT_FALSE(VerQueryValueRaw(block, "\\VarFileInfo\\Translations"));
  // A prefix of a name is not the name.
  EXPECT_FALSE(VerQueryValueText(block, "\\StringFileInfo\\041504e2\\FileVer"));
  EXPECT_FALSE(VerQueryValueRaw({}, "\\"));
}

TEST(VersionInfoTest, TextsKeepPolishLettersAndSpaces) {
  VersionResource version = MakeVersionResource({1, 0, 0, 0}, "  1.0 wersja próbna \t");
  version.stringTables[0].items.push_back({"FileDescription", "Łódź – Żółw"});
  const auto block = BuildVersionBlock(version, true);
  EXPECT_EQ(VerQueryValueText(block, "\\StringFileInfo\\041504E2\\FileVersion"),
            "  1.0 wersja próbna \t");
  EXPECT_EQ(VerQueryValueText(block, "\\StringFileInfo\\041504E2\\FileDescription"), "Łódź – Żółw");
}

TEST(VersionInfoTest, TextValueLengthPastItsNodeIsClampedToTheNode) {
  VersionResource version = MakeVersionResource({1, 0, 0, 0}, "1.0.0.0");
  version.stringTables[0].items = {{"FileVersion", "1.0.0.0"}, {"Next", "after"}};
  auto block = BuildVersionBlock(version, false);
  // Some writers count a text value's length in bytes; then it would reach into the next item.
  const std::vector<uint8_t> key = {'F', 0, 'i', 0, 'l', 0, 'e', 0, 'V', 0};
  const auto found = std::search(block.begin(), block.end(), key.begin(), key.end());
  ASSERT_NE(found, block.end());
  const size_t node = static_cast<size_t>(found - block.begin()) - 6;
  block[node + 2] = 0xFF;
  EXPECT_EQ(VerQueryValueText(block, "\\StringFileInfo\\041504E2\\FileVersion"), "1.0.0.0");
  EXPECT_EQ(VerQueryValueText(block, "\\StringFileInfo\\041504E2\\Next"), "after");
}

TEST(VersionInfoTest, ChildLongerThanItsParentIsRefused) {
  auto block = BuildVersionBlock(TwoTables(), false);
  const size_t stringFileInfo = 40 + 52;  // root header and key, then the fixed info
  ASSERT_EQ(block[stringFileInfo + 6], 'S');
  block[stringFileInfo] = 0xFF;
  block[stringFileInfo + 1] = 0xFF;
  EXPECT_FALSE(VerQueryValueText(block, "\\StringFileInfo\\041504e2\\FileVersion"));
}

TEST(VersionInfoTest, ZeroLengthNodeEndsTheWalk) {
  auto block = BuildVersionBlock(TwoTables(), false);
  const size_t stringFileInfo = 40 + 52;
  block[stringFileInfo] = 0;
  block[stringFileInfo + 1] = 0;
  EXPECT_FALSE(VerQueryValueRaw(block, "\\VarFileInfo\\Translation"));
  EXPECT_TRUE(VerQueryValueRaw(block, "\\"));
}

TEST(VersionInfoTest, KeyWithoutTerminatorIsRefused) {
  std::vector<uint8_t> block = {10, 0, 0, 0, 0, 0, 'A', 0, 'B', 0};
  EXPECT_FALSE(VerQueryValueRaw(block, "\\"));
}

TEST(VersionInfoTest, TruncatedAndCorruptedBlocksNeverReadOutside) {
  const auto whole = BuildVersionBlock(TwoTables(), false);
  for (size_t length = 0; length < whole.size(); ++length) {
    const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(length));
    EXPECT_FALSE(VerQueryValueText(cut, "\\StringFileInfo\\040904b0\\FileVersion")) << length;
  }
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    auto block = whole;
    for (int flips = 0; flips < 4; ++flips)
      block[random() % block.size()] = static_cast<uint8_t>(random());
    VerQueryValueRaw(block, "\\VarFileInfo\\Translation");
    VerQueryValueText(block, "\\StringFileInfo\\041504e2\\FileVersion");
  }
}

}  // namespace
}  // namespace dbinst
