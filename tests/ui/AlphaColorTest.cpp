#include "ui/AlphaColor.h"

#include <gtest/gtest.h>

namespace dbinst {
namespace {

TEST(AlphaColorTest, TextIsHashAndEightUpperCaseDigits) {
  EXPECT_EQ(AlphaColorText(kColorWarningRed), "#FFC04040");
  EXPECT_EQ(AlphaColorText(kColorDimmed), "#60000000");
  EXPECT_EQ(AlphaColorText(0), "#00000000");
}

TEST(AlphaColorTest, ParsesBothLengthsWithoutRegardToCase) {
  EXPECT_EQ(ParseAlphaColor("#ffc04040"), kColorWarningRed);
  EXPECT_EQ(ParseAlphaColor("#60000000"), kColorDimmed);
  EXPECT_EQ(ParseAlphaColor("#C04040"), kColorWarningRed);
}

TEST(AlphaColorTest, RejectsAnythingElse) {
  for (const char* text : {"", "#", "FFC04040", "#FFC0404", "#FFC040400", "#GGC04040", "#FF C0404",
                           "red", "#+FC04040"}) {
    EXPECT_FALSE(ParseAlphaColor(text).has_value()) << text;
  }
}

}  // namespace
}  // namespace dbinst
