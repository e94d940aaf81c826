#include "env/MegabyteText.h"

#include <gtest/gtest.h>

#include <limits>

namespace dbinst {
namespace {

constexpr int64_t kMB = 1048576;
const NumberFormat kEnglish{",", "."};
const NumberFormat kPolish{"\xC2\xA0", ","};

TEST(MegabyteTextTest, WholeMegabytesHaveNoDecimals) {
  EXPECT_EQ(MegabyteText(0, kEnglish), "0");
  EXPECT_EQ(MegabyteText(kMB, kEnglish), "1");
  EXPECT_EQ(MegabyteText(999 * kMB, kEnglish), "999");
  EXPECT_EQ(MegabyteText(1000 * kMB, kEnglish), "1,000");
  EXPECT_EQ(MegabyteText(1234567 * kMB, kEnglish), "1,234,567");
}

TEST(MegabyteTextTest, OneDecimalRoundedHalfAwayFromZero) {
  EXPECT_EQ(MegabyteText(kMB + kMB / 2, kEnglish), "1.5");
  // 0.05 MB exactly, and one byte less.
  EXPECT_EQ(MegabyteText(kMB / 20 + 1, kEnglish), "0.1");
  EXPECT_EQ(MegabyteText(52429, kEnglish), "0.1");
  EXPECT_EQ(MegabyteText(52428, kEnglish), "0");
  EXPECT_EQ(MegabyteText(2 * kMB - 1, kEnglish), "2");
  EXPECT_EQ(MegabyteText(-(kMB + kMB / 2), kEnglish), "-1.5");
  EXPECT_EQ(MegabyteText(-1, kEnglish), "0");
}

TEST(MegabyteTextTest, UsesTheUsersSeparators) {
  EXPECT_EQ(MegabyteText(12345 * kMB + kMB / 4 * 3, kPolish),
            "12\xC2\xA0"
            "345,8");
  EXPECT_EQ(MegabyteText(1234 * kMB + kMB / 10 * 3, NumberFormat{".", ","}), "1.234,3");
}

TEST(MegabyteTextTest, ExtremesDoNotOverflow) {
  EXPECT_EQ(MegabyteText(std::numeric_limits<int64_t>::max(), kEnglish), "8,796,093,022,208");
  EXPECT_EQ(MegabyteText(std::numeric_limits<int64_t>::min(), kEnglish), "-8,796,093,022,208");
}

}  // namespace
}  // namespace dbinst
