#include "platform/prefix/WildcardMatch.h"

#include <gtest/gtest.h>

namespace dbinst {
namespace {

TEST(WildcardMatchTest, StarDotStarMatchesNamesWithAndWithoutADot) {
  EXPECT_TRUE(MatchesWildcard("*.*", "README"));
  EXPECT_TRUE(MatchesWildcard("*.*", "a.b.c"));
  EXPECT_TRUE(MatchesWildcard("*", ".hidden"));
  EXPECT_TRUE(MatchesWildcard("setup.*", "SETUP"));
  EXPECT_FALSE(MatchesWildcard("*.txt", "txt"));
}

TEST(WildcardMatchTest, QuestionMarkTakesExactlyOneCharacter) {
  EXPECT_TRUE(MatchesWildcard("a?c", "abc"));
  EXPECT_FALSE(MatchesWildcard("a?c", "ac"));
  EXPECT_FALSE(MatchesWildcard("a?c", "abbc"));
  EXPECT_TRUE(MatchesWildcard("?ódź", "łódź"));
}

TEST(WildcardMatchTest, StarsBacktrackAcrossRepeatedLetters) {
  EXPECT_TRUE(MatchesWildcard("*ab*ab", "xabyabab"));
  EXPECT_FALSE(MatchesWildcard("*ab*ab", "xabyaba"));
  EXPECT_TRUE(MatchesWildcard("db**01*.7z", "DB_set01_full.7Z"));
}

TEST(WildcardMatchTest, LettersMatchWithoutRegardToCase) {
  EXPECT_TRUE(MatchesWildcard("*.INI", "db01.ini"));
  EXPECT_TRUE(MatchesWildcard("ŁÓDŹ*", "łódź.txt"));
  EXPECT_FALSE(MatchesWildcard("lodz*", "łódź"));
}

}  // namespace
}  // namespace dbinst
