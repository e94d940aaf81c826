#include "engine/ShellOps.h"

#include <gtest/gtest.h>

namespace dbinst {
namespace {

std::pair<int, int> Numbers(const char* text) {
  const TFileVersionNumbers numbers = ShellOps::VersionNumbersOfText(text);
  return {numbers.major, numbers.minor};
}

TEST(ShellOpsTest, VersionNumbersReadMajorAndMinorOfAFullVersion) {
  EXPECT_EQ(Numbers("6.2.0.15"), std::make_pair(6, 2));
  EXPECT_EQ(Numbers("2.0.0.0"), std::make_pair(2, 0));
  EXPECT_EQ(Numbers("10.12.3"), std::make_pair(10, 12));
}

TEST(ShellOpsTest, VersionTextWithOneDotKeepsItsMinorNumber) {
  EXPECT_EQ(Numbers("5.81"), std::make_pair(5, 81));
  EXPECT_EQ(Numbers("2.0"), std::make_pair(2, 0));
  EXPECT_EQ(Numbers("6."), std::make_pair(6, -1));
}

TEST(ShellOpsTest, UnreadableVersionPartsGiveMinusOne) {
  EXPECT_EQ(Numbers(""), std::make_pair(-1, -1));
  EXPECT_EQ(Numbers("   "), std::make_pair(-1, -1));
  EXPECT_EQ(Numbers(".5.1"), std::make_pair(-1, -1));
  EXPECT_EQ(Numbers("6"), std::make_pair(-1, -1));
  EXPECT_EQ(Numbers("v6.2.1"), std::make_pair(-1, 2));
  EXPECT_EQ(Numbers("6.x.1"), std::make_pair(6, -1));
  EXPECT_EQ(Numbers("6..1"), std::make_pair(6, -1));
  EXPECT_EQ(Numbers("99999999999.1.0"), std::make_pair(-1, 1));
}

}  // namespace
}  // namespace dbinst
