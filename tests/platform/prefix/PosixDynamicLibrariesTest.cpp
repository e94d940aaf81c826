#include "platform/prefix/PosixDynamicLibraries.h"

#include <gtest/gtest.h>

namespace dbinst {
namespace {

TEST(PosixDynamicLibrariesTest, WindowsLibraryNamesBecomeSharedObjectNames) {
  EXPECT_EQ(HostLibraryName("7z.dll"), "7z.so");
  EXPECT_EQ(HostLibraryName("7Z.DLL"), "7Z.so");
  EXPECT_EQ(HostLibraryName("libm.so.6"), "libm.so.6");
  EXPECT_EQ(HostLibraryName(".dll"), ".dll");
}

TEST(PosixDynamicLibrariesTest, SevenZipLibraryLoadsByNameFromTheDistributionFolder) {
  PosixDynamicLibraries libraries;
  std::string error;
  auto library = libraries.Load("7z.dll", error);
  ASSERT_TRUE(library) << error;
  EXPECT_NE(library->Symbol("CreateObject"), nullptr);
  EXPECT_EQ(library->Symbol("NoSuchExport"), nullptr);
}

TEST(PosixDynamicLibrariesTest, LibraryFoundNowhereGivesNothingAndSaysWhereItLooked) {
  PosixDynamicLibraries libraries({"/nonexistent/folder"});
  std::string error;
  EXPECT_EQ(libraries.Load("no-such-library.dll", error), nullptr);
  EXPECT_NE(error.find("no-such-library.dll"), std::string::npos) << error;
  EXPECT_NE(error.find("/nonexistent/folder/no-such-library.so"), std::string::npos) << error;
}

TEST(PosixDynamicLibrariesTest, PathIsNotSearchedInOtherFolders) {
  PosixDynamicLibraries libraries;
  std::string error;
  EXPECT_EQ(libraries.Load("/nonexistent/7z.dll", error), nullptr);
  EXPECT_EQ(error.find("/usr/lib/p7zip"), std::string::npos) << error;
}

}  // namespace
}  // namespace dbinst
