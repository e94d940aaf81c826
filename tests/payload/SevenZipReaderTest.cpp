#include "payload/SevenZipReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <stdexcept>

#include "platform/FileSystem.h"
#include "platform/Machine.h"
#include "tests/support/SevenZipArchives.h"
#include "tests/support/TempPrefix.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;
using test::Make7z;
using test::SlurpFile;

class SevenZipReaderTest : public ::testing::Test {
 protected:
  std::unique_ptr<SevenZipReader> OpenReader(const std::string& windowsPath) {
    file = machine->files().OpenForRead(windowsPath);
    if (!file) throw std::runtime_error("no archive at " + windowsPath);
    std::string error;
    auto reader = SevenZipReader::Create(machine->libraries(), *file, error);
    if (!reader) throw std::runtime_error(error);
    reader->SetPassword(kArchivePassword);
    return reader;
  }

  test::TempPrefix prefix;
  std::unique_ptr<Machine> machine = prefix.OpenMachine();
  std::unique_ptr<ReadableFile> file;
};

TEST_F(SevenZipReaderTest, ListsPathsSizesAndFoldersOfASolidArchive) {
  ASSERT_TRUE(Make7z(prefix.driveC() + "/a.7z",
                     {{"top.txt", "12345"}, {"sub/deeper/inner.bin", std::string(70000, 'x')}},
                     "-m0=lzma2 -ms=on"));
  auto reader = OpenReader("C:\\a.7z");
  std::string error;
  ASSERT_TRUE(reader->List(error)) << error;
  std::map<std::string, ArchiveItem> byPath;
  for (const ArchiveItem& item : reader->Items()) byPath[item.path] = item;
  ASSERT_EQ(byPath.size(), 4u);
  EXPECT_TRUE(byPath["sub"].isFolder);
  EXPECT_TRUE(byPath["sub/deeper"].isFolder);
  EXPECT_EQ(byPath["top.txt"].size, 5u);
  EXPECT_FALSE(byPath["top.txt"].isFolder);
  EXPECT_EQ(byPath["sub/deeper/inner.bin"].size, 70000u);
}

TEST_F(SevenZipReaderTest, NamesOutsideTheBasicPlaneArriveAsUtf8) {
  ASSERT_TRUE(Make7z(prefix.driveC() + "/u.7z", {{"zażółć \U0001F600.txt", "x"}}));
  auto reader = OpenReader("C:\\u.7z");
  std::string error;
  ASSERT_TRUE(reader->List(error)) << error;
  ASSERT_EQ(reader->Items().size(), 1u);
  EXPECT_EQ(reader->Items()[0].path, "zażółć \U0001F600.txt");
}

TEST_F(SevenZipReaderTest, NotAnArchiveFailsToListWithAReason) {
  prefix.WriteFile(prefix.driveC() + "/junk.7z", std::string(5000, 'j'));
  auto reader = OpenReader("C:\\junk.7z");
  std::string error;
  EXPECT_FALSE(reader->List(error));
  EXPECT_NE(error.find("Not a readable 7z archive"), std::string::npos) << error;
}

TEST_F(SevenZipReaderTest, ExtractionBeforeListingIsRefused) {
  ASSERT_TRUE(Make7z(prefix.driveC() + "/a.7z", {{"a.txt", "a"}}));
  auto reader = OpenReader("C:\\a.7z");
  std::string error;
  EXPECT_FALSE(reader->ExtractAll(machine->files(), "C:\\out", {}, error));
  EXPECT_FALSE(fs::exists(prefix.driveC() + "/out/a.txt"));
}

// The library aborts the process when an exception reaches it, so hooks that throw must not.
TEST_F(SevenZipReaderTest, HooksThatThrowFailTheExtractionWithoutCrashing) {
  ASSERT_TRUE(Make7z(prefix.driveC() + "/a.7z", {{"a.txt", std::string(100000, 'a')}}));
  auto reader = OpenReader("C:\\a.7z");
  std::string error;
  ASSERT_TRUE(reader->List(error)) << error;
  ArchiveHooks hooks;
  hooks.beforeItem = [](uint32_t, const std::string&) -> bool { throw std::runtime_error("x"); };
  hooks.progress = [](uint64_t, uint64_t) { throw std::bad_alloc(); };
  EXPECT_FALSE(reader->ExtractAll(machine->files(), "C:\\out", hooks, error));
  EXPECT_FALSE(error.empty());
}

TEST_F(SevenZipReaderTest, ItemHookSeesIndexAndFullDestinationPathAndMaySkip) {
  ASSERT_TRUE(Make7z(prefix.driveC() + "/a.7z", {{"keep/a.txt", "a"}, {"skip.txt", "s"}}));
  auto reader = OpenReader("C:\\a.7z");
  std::string error;
  ASSERT_TRUE(reader->List(error)) << error;
  std::vector<std::string> seen;
  ArchiveHooks hooks;
  hooks.beforeItem = [&](uint32_t index, const std::string& path) {
    seen.push_back(std::to_string(index) + " " + path);
    return path.find("skip") == std::string::npos;
  };
  ASSERT_TRUE(reader->ExtractAll(machine->files(), "C:\\Out\\", hooks, error)) << error;
  std::vector<std::string> expected;
  for (uint32_t i = 0; i < reader->Items().size(); ++i) {
    std::string relative = reader->Items()[i].path;
    std::replace(relative.begin(), relative.end(), '/', '\\');
    expected.push_back(std::to_string(i) + " C:\\Out\\" + relative);
  }
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(SlurpFile(prefix.driveC() + "/Out/keep/a.txt"), "a");
  EXPECT_FALSE(fs::exists(prefix.driveC() + "/Out/skip.txt"));
}

}  // namespace
}  // namespace dbinst
