#include "payload/SevenZipLibrary.h"

#include <gtest/gtest.h>

#include "platform/DynamicLibrary.h"
#include "platform/prefix/PosixDynamicLibraries.h"

namespace dbinst {
namespace {

TEST(SevenZipLibraryTest, LibraryWithoutGetModulePropIsRefusedAsTooOld) {
  PosixDynamicLibraries libraries;
  std::string error;
  // Any real library without 7-Zip 23's GetModuleProp stands for p7zip 16.02 here.
  auto other = libraries.Load("libm.so.6", error);
  ASSERT_TRUE(other) << error;
  EXPECT_EQ(SevenZipLibrary::FromLoaded(std::move(other), error), nullptr);
  EXPECT_NE(error.find("older than 7-Zip 23"), std::string::npos) << error;
}

TEST(SevenZipLibraryTest, InstalledLibraryHasTheLayoutWeDeclare) {
  PosixDynamicLibraries libraries;
  std::string error;
  auto library = libraries.Load("7z.dll", error);
  ASSERT_TRUE(library) << error;
  auto checked = SevenZipLibrary::FromLoaded(std::move(library), error);
  ASSERT_TRUE(checked) << error;
  sevenzip::ComPtr<sevenzip::IInArchive> handler(checked->New7zHandler());
  EXPECT_TRUE(handler);
}

TEST(SevenZipLibraryTest, WideUnitsJoinSurrogatePairsAndAcceptWholeCodePoints) {
  const wchar_t pair[] = {0xD83D, 0xDE00, L'a', 0};
  EXPECT_EQ(WideUnitsToUtf8(pair), "\U0001F600a");
  const wchar_t whole[] = {static_cast<wchar_t>(0x1F600), 0};
  EXPECT_EQ(WideUnitsToUtf8(whole), "\U0001F600");
  const wchar_t lone[] = {0xD83D, L'b', 0};
  EXPECT_EQ(WideUnitsToUtf8(lone), "\uFFFDb");
}

}  // namespace
}  // namespace dbinst
