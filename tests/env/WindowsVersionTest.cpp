#include "env/WindowsVersion.h"

#include <gtest/gtest.h>

#include "platform/SystemInfo.h"

namespace dbinst {
namespace {

OsVersion Version(uint32_t platform, uint32_t major, uint32_t minor, std::string servicePack = "") {
  return OsVersion{platform, major, minor, 0, std::move(servicePack)};
}

TEST(WindowsVersionTest, NtVersionCodes) {
  EXPECT_EQ(WindowsVersionCode(Version(2, 3, 51)), 4);
  EXPECT_EQ(WindowsVersionCode(Version(2, 4, 0)), 4);
  EXPECT_EQ(WindowsVersionCode(Version(2, 5, 0)), 6);
  EXPECT_EQ(WindowsVersionCode(Version(2, 5, 1)), 7);
  EXPECT_EQ(WindowsVersionCode(Version(2, 5, 2)), 0);
  EXPECT_EQ(WindowsVersionCode(Version(2, 6, 0)), 8);
  EXPECT_EQ(WindowsVersionCode(Version(2, 6, 1, "Service Pack 1")), 9);
  EXPECT_EQ(WindowsVersionCode(Version(2, 6, 2)), 0);
  EXPECT_EQ(WindowsVersionCode(Version(2, 10, 0)), 0);
}

TEST(WindowsVersionTest, Win9xVersionCodes) {
  EXPECT_EQ(WindowsVersionCode(Version(1, 4, 0)), 1);
  EXPECT_EQ(WindowsVersionCode(Version(1, 4, 10)), 2);
  EXPECT_EQ(WindowsVersionCode(Version(1, 4, 10, " A ")), 3);
  EXPECT_EQ(WindowsVersionCode(Version(1, 4, 10, "A")), 2);
  EXPECT_EQ(WindowsVersionCode(Version(1, 4, 90)), 5);
  EXPECT_EQ(WindowsVersionCode(Version(1, 4, 1)), 0);
  EXPECT_EQ(WindowsVersionCode(Version(1, 5, 0)), 0);
}

TEST(WindowsVersionTest, OtherPlatformsHaveNoCode) {
  EXPECT_EQ(WindowsVersionCode(Version(0, 6, 1)), 0);
  EXPECT_EQ(WindowsVersionCode(Version(3, 6, 1)), 0);
}

}  // namespace
}  // namespace dbinst
