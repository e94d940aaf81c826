#include <gtest/gtest.h>

#include "tests/support/RunProcess.h"

namespace dbinst {
namespace {

TEST(InstallerLinkTest, InstallerFindsTheSevenZipFoldersThroughItsRunpath) {
  const auto dynamic = test::RunProcess("/usr/bin/readelf", {"-d", DBINST_INSTALLER_PATH}, {});
  ASSERT_EQ(dynamic.exitCode, 0) << dynamic.err;
  EXPECT_NE(dynamic.out.find("(RUNPATH)"), std::string::npos) << dynamic.out;
  EXPECT_NE(dynamic.out.find("/usr/lib/p7zip"), std::string::npos);
  EXPECT_NE(dynamic.out.find("/usr/lib/7zip"), std::string::npos);
}

// An exported SysFreeString would replace the library's own and free its strings wrongly.
TEST(InstallerLinkTest, InstallerExportsNoNamesTheSevenZipLibraryDefines) {
  const auto symbols =
      test::RunProcess("/usr/bin/nm", {"-D", "--defined-only", DBINST_INSTALLER_PATH}, {});
  ASSERT_EQ(symbols.exitCode, 0) << symbols.err;
  for (const char* name : {"SysFreeString", "SysAllocString", "CreateObject", "GetModuleProp"}) {
    EXPECT_EQ(symbols.out.find(name), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace dbinst
