#include "payload/ArchivePaths.h"

#include <gtest/gtest.h>

namespace dbinst {
namespace {

TEST(ArchivePathsTest, PathsBelowTheFolderBecomeWindowsPaths) {
  EXPECT_EQ(RelativePathInside("a.txt"), "a.txt");
  EXPECT_EQ(RelativePathInside("sub/deeper/a.txt"), "sub\\deeper\\a.txt");
  EXPECT_EQ(RelativePathInside("sub\\a.txt"), "sub\\a.txt");
  EXPECT_EQ(RelativePathInside("./sub//a.txt"), "sub\\a.txt");
  EXPECT_EQ(RelativePathInside("..name/a..b.txt"), "..name\\a..b.txt");
  EXPECT_EQ(RelativePathInside("zażółć.txt"), "zażółć.txt");
}

TEST(ArchivePathsTest, PathsThatCouldLeaveTheFolderAreRefused) {
  for (const char* path : {"",
                           ".",
                           "./",
                           "../x",
                           "..",
                           "a/../../x",
                           "a/../b",
                           "/abs/x",
                           "\\abs\\x",
                           "..\\x",
                           "a\\..\\..\\x",
                           "C:\\x",
                           "C:x",
                           "c:/x",
                           "a/b:stream",
                           ".../x",
                           ". ./x",
                           ".. /x",
                           "//server/share/x",
                           "\\\\?\\C:\\x"}) {
    EXPECT_EQ(RelativePathInside(path), std::nullopt) << path;
  }
}

}  // namespace
}  // namespace dbinst
