#include <gtest/gtest.h>
#include <sys/mount.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

#include "engine/InstallProgress.h"
#include "env/InstallLog.h"
#include "env/MessagePump.h"
#include "payload/MyFileOp.h"
#include "platform/FileSystem.h"
#include "platform/Machine.h"
#include "platform/prefix/ElfResourceModule.h"
#include "tests/support/ElfFiles.h"
#include "tests/support/RecordingProgress.h"
#include "tests/support/SevenZipArchives.h"
#include "tests/support/TempPrefix.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;
using test::ArchiveFiles;
using test::Make7z;
using test::Run7zzAdd;
using test::SlurpFile;
using test::TempPrefix;
using test::UnwritableFolder;

const ArchiveFiles kDatabaseFiles = {
    {"tiles.fdb", std::string(300000, 't') + test::PatternBytes(50000)},
    {"Images/a.jpg", test::PatternBytes(120000, 2)},
    {"Images/Small/b.png", "png"},
    {"readme.txt", ""},
};

class MyFileOpArchiveTest : public ::testing::Test {
 protected:
  MyFileOpArchiveTest() {
    SetMessagePump([this] { ++pumped; });
  }
  ~MyFileOpArchiveTest() override { SetMessagePump(nullptr); }

  std::string HostC(const std::string& relative) const { return prefix.driveC() + "/" + relative; }
  // A database of no size that finished there leaves the overall bar at the position.
  void PutOverallAt(float position) {
    progress.FinishDatabase(position, 0);
    view.overall.values.clear();
    view.item.values.clear();
    view.pumped = 0;
  }

  void ExpectExtracted(const ArchiveFiles& files, const std::string& destination) const {
    for (const auto& [relative, bytes] : files) {
      EXPECT_EQ(SlurpFile(HostC(destination + "/" + relative)), bytes) << relative;
    }
  }

  TempPrefix prefix;
  std::unique_ptr<Machine> machine = prefix.OpenMachine();
  InstallLog log;
  MyFileOp fileOp{*machine, log};
  int pumped = 0;
  test::RecordingProgress view;
  InstallProgress progress{&view};
  const test::RecordedBar& overall = view.overall;
  const test::RecordedBar& archive = view.item;
};

TEST_F(MyFileOpArchiveTest, SolidArchiveFillsSubFoldersAndMovesBothBars) {
  ASSERT_TRUE(Make7z(HostC("x/db.7z"), kDatabaseFiles, "-m0=lzma2 -ms=on"));
  PutOverallAt(40.6f);
  ASSERT_TRUE(fileOp.ExtractArchive("C:\\x\\db.7z", "C:\\Program\\Db\\", progress.ArchiveHooks()))
      << fileOp.LastArchiveError();
  ExpectExtracted(kDatabaseFiles, "Program/Db");
  EXPECT_EQ(archive.Max(), 1.0f);
  const int64_t total = 350000 + 120000 + 3;
  // The archive's start shows on the item bar alone; every later step moves both.
  ASSERT_EQ(archive.values.size(), overall.values.size() + 1);
  ASSERT_FALSE(overall.values.empty());
  for (size_t i = 0; i < overall.values.size(); ++i) {
    EXPECT_FLOAT_EQ(overall.values[i], total * archive.values[i + 1] + 40) << i;
  }
  EXPECT_TRUE(fileOp.ArchiveProgressContext().IsEmpty());
  EXPECT_GE(pumped, 3);
  EXPECT_TRUE(fileOp.LastArchiveError().empty());
}

TEST_F(MyFileOpArchiveTest, EncryptedArchivesOpenWithTheInstallersPassword) {
  ASSERT_TRUE(Make7z(HostC("x/aes.7z"), kDatabaseFiles, "-plipa_srebrnej_wierzby"));
  ASSERT_TRUE(Make7z(HostC("x/hidden.7z"), kDatabaseFiles, "-plipa_srebrnej_wierzby -mhe=on"));
  EXPECT_TRUE(fileOp.ExtractArchive("C:\\x\\aes.7z", "C:\\aes")) << fileOp.LastArchiveError();
  ExpectExtracted(kDatabaseFiles, "aes");
  EXPECT_TRUE(fileOp.ExtractArchive("C:\\x\\hidden.7z", "C:\\hidden\\"))
      << fileOp.LastArchiveError();
  ExpectExtracted(kDatabaseFiles, "hidden");
}

TEST_F(MyFileOpArchiveTest, WrongPasswordFailsAndLeavesNoHalfWrittenFiles) {
  ASSERT_TRUE(Make7z(HostC("x/other.7z"), kDatabaseFiles, "-psomething_else"));
  ASSERT_TRUE(Make7z(HostC("x/otherhe.7z"), kDatabaseFiles, "-psomething_else -mhe=on"));
  EXPECT_FALSE(fileOp.ExtractArchive("C:\\x\\other.7z", "C:\\out"));
  EXPECT_NE(fileOp.LastArchiveError().find("wrong password"), std::string::npos)
      << fileOp.LastArchiveError();
  EXPECT_FALSE(fs::exists(HostC("out/tiles.fdb")));
  EXPECT_FALSE(fs::exists(HostC("out/Images/a.jpg")));
  EXPECT_FALSE(fileOp.ExtractArchive("C:\\x\\otherhe.7z", "C:\\outhe", progress.ArchiveHooks()));
  EXPECT_TRUE(archive.values.empty());
  EXPECT_FALSE(fs::exists(HostC("outhe")));
  EXPECT_TRUE(fileOp.ArchiveProgressContext().IsEmpty());
}

TEST_F(MyFileOpArchiveTest, TruncatedArchiveFails) {
  ASSERT_TRUE(Make7z(HostC("x/db.7z"), kDatabaseFiles));
  const std::string bytes = SlurpFile(HostC("x/db.7z"));
  for (size_t keep : {size_t{0}, size_t{20}, bytes.size() / 2, bytes.size() - 1}) {
    test::WriteWholeFile(HostC("x/cut.7z"), bytes.substr(0, keep));
    EXPECT_FALSE(fileOp.ExtractArchive("C:\\x\\cut.7z", "C:\\out")) << keep;
    EXPECT_FALSE(fileOp.LastArchiveError().empty());
  }
}

TEST_F(MyFileOpArchiveTest, FlippedDataByteFailsTheArchive) {
  const ArchiveFiles files = {{"data.bin", test::PatternBytes(200000, 7)}};
  ASSERT_TRUE(Make7z(HostC("x/db.7z"), files, "-m0=copy"));
  std::string bytes = SlurpFile(HostC("x/db.7z"));
  bytes[32 + 1000] = static_cast<char>(bytes[32 + 1000] ^ 0x55);
  test::WriteWholeFile(HostC("x/db.7z"), bytes);
  EXPECT_FALSE(fileOp.ExtractArchive("C:\\x\\db.7z", "C:\\out"));
  EXPECT_NE(fileOp.LastArchiveError().find("CRC"), std::string::npos) << fileOp.LastArchiveError();
  EXPECT_FALSE(fs::exists(HostC("out/data.bin")));
}

TEST_F(MyFileOpArchiveTest, ItemsThatWouldLeaveTheFolderAreRefusedAndFailTheArchive) {
  const fs::path source = HostC("src/inner/deep");
  test::WriteTree(source, {{"../../victim.txt", "escaped"}, {"x/keep.txt", "kept"}});
  fs::create_directories(source / "x/y");
  ASSERT_TRUE(Run7zzAdd(HostC("x/evil.7z"), source, "-spf",
                        "../../victim.txt x/y/../../../../victim.txt x/keep.txt"));
  ASSERT_TRUE(Run7zzAdd(HostC("x/evil.7z"), source, "-spf", "'" + HostC("src/victim.txt") + "'"));
  ASSERT_TRUE(Make7z(HostC("x/backslash.7z"), {{"..\\victim.txt", "escaped"}}));

  EXPECT_FALSE(fileOp.ExtractArchive("C:\\x\\evil.7z", "C:\\dest\\in"));
  EXPECT_NE(fileOp.LastArchiveError().find("refused"), std::string::npos);
  EXPECT_EQ(SlurpFile(HostC("dest/in/x/keep.txt")), "kept");
  EXPECT_FALSE(fileOp.ExtractArchive("C:\\x\\backslash.7z", "C:\\dest\\in"));
  size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(prefix.path())) {
    if (entry.path().filename() == "victim.txt" && SlurpFile(entry.path()) == "escaped") ++files;
  }
  EXPECT_EQ(files, 1u) << "only the source file itself";
}

TEST_F(MyFileOpArchiveTest, ExistingFilesAreReplacedButOneThatCannotBeDeletedIsSkipped) {
  const ArchiveFiles files = {{"locked/old.fdb", "new"}, {"free.fdb", "new"}, {"ro.fdb", "new"}};
  ASSERT_TRUE(Make7z(HostC("x/db.7z"), files));
  test::WriteTree(HostC("dest"), {{"locked/old.fdb", "old"}, {"free.fdb", "old"}, {"ro.fdb", "o"}});
  ASSERT_TRUE(machine->files().SetReadOnly("C:\\dest\\ro.fdb", true));
  UnwritableFolder locked(HostC("dest/locked"));
  if (!locked.usable()) GTEST_SKIP() << "the immutable flag cannot be set here";
  EXPECT_TRUE(fileOp.ExtractArchive("C:\\x\\db.7z", "C:\\dest")) << fileOp.LastArchiveError();
  EXPECT_EQ(SlurpFile(HostC("dest/locked/old.fdb")), "old");
  EXPECT_EQ(SlurpFile(HostC("dest/free.fdb")), "new");
  EXPECT_EQ(SlurpFile(HostC("dest/ro.fdb")), "o");
}

// Empty items make the byte fraction undefined, so each update shows the item fraction alone.
TEST_F(MyFileOpArchiveTest, FourteenItemsMoveTheBarsAtTheSeventhAndFourteenthItem) {
  ArchiveFiles files;
  for (int i = 0; i < 14; ++i) files.push_back({"f" + std::to_string(100 + i) + ".txt", ""});
  ASSERT_TRUE(Make7z(HostC("x/db.7z"), files));
  ASSERT_TRUE(fileOp.ExtractArchive("C:\\x\\db.7z", "C:\\dest", progress.ArchiveHooks()));
  // Byte reports come in between, so the item updates show among the others.
  ASSERT_FALSE(archive.values.empty());
  EXPECT_EQ(archive.values.front(), 0.0f);
  for (size_t i = 1; i < archive.values.size(); ++i) {
    EXPECT_GE(archive.values[i], archive.values[i - 1]);
  }
  EXPECT_NE(std::find(archive.values.begin(), archive.values.end(), 6 / 14.0f),
            archive.values.end());
  EXPECT_EQ(archive.values.back(), 13 / 14.0f);
  EXPECT_TRUE(fs::exists(HostC("dest/f113.txt")));
}

TEST_F(MyFileOpArchiveTest, ByteReportsMoveTheBarsTowardsTheArchiveSize) {
  ArchiveFiles files;
  for (int i = 0; i < 3; ++i)
    files.push_back({"f" + std::to_string(i), test::PatternBytes(3 << 20, i)});
  ASSERT_TRUE(Make7z(HostC("x/db.7z"), files, "-m0=copy"));
  ASSERT_TRUE(fileOp.ExtractArchive("C:\\x\\db.7z", "C:\\dest", progress.ArchiveHooks()));
  ASSERT_GE(archive.values.size(), 2u);
  for (size_t i = 1; i < archive.values.size(); ++i) {
    EXPECT_GE(archive.values[i], archive.values[i - 1]);
    EXPECT_LE(archive.values[i], 1.0f);
  }
  EXPECT_LE(overall.values.back(), float(9 << 20));
}

TEST_F(MyFileOpArchiveTest, ArchiveOfEmptyFilesSucceedsWithFiniteBars) {
  ASSERT_TRUE(Make7z(HostC("x/empty.7z"), {{"a.txt", ""}, {"b/c.txt", ""}}));
  PutOverallAt(10.0f);
  EXPECT_TRUE(fileOp.ExtractArchive("C:\\x\\empty.7z", "C:\\dest", progress.ArchiveHooks()));
  for (float value : archive.values) EXPECT_TRUE(std::isfinite(value));
  EXPECT_EQ(overall.Value(), 10.0f);
  EXPECT_TRUE(fs::exists(HostC("dest/b/c.txt")));
}

TEST_F(MyFileOpArchiveTest, MissingArchiveFailsAndLeavesTheContextEmpty) {
  EXPECT_FALSE(fileOp.ExtractArchive("C:\\x\\none.7z", "C:\\dest", progress.ArchiveHooks()));
  EXPECT_TRUE(fileOp.ArchiveProgressContext().IsEmpty());
  EXPECT_TRUE(overall.values.empty());
  EXPECT_TRUE(archive.values.empty());
  EXPECT_FALSE(fs::exists(HostC("dest")));
  EXPECT_EQ(pumped, 0);
  EXPECT_EQ(view.pumped, 0);
}

TEST_F(MyFileOpArchiveTest, FullDiskFailsTheArchive) {
  ASSERT_TRUE(Make7z(HostC("x/db.7z"), {{"big.bin", test::PatternBytes(300000, 3)}}));
  const std::string small = prefix.MakeFolder("small");
  if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "no tmpfs can be mounted here";
  }
  prefix.Link("s:", small);
  auto reopened = prefix.OpenMachine();
  MyFileOp op(*reopened, log);
  EXPECT_FALSE(op.ExtractArchive("C:\\x\\db.7z", "S:\\dest"));
  EXPECT_FALSE(fs::exists(small + "/dest/big.bin"));
  ::umount(small.c_str());
}

class MyFileOpResourceTest : public MyFileOpArchiveTest {
 protected:
  // The installer-like module: a real ELF program carrying the resources as sections.
  std::unique_ptr<ElfResourceModule> ModuleWith(
      const std::vector<std::pair<std::string, std::string>>& resources) {
    const fs::path program = test::CopyOfSystemProgram(prefix.MakeFolder("module"));
    if (!test::AddResourceSections(program, resources)) return nullptr;
    return std::make_unique<ElfResourceModule>(program.string());
  }
};

TEST_F(MyFileOpResourceTest, ResourceOf32768BytesIsOneChunkThenTheFinalUpdate) {
  const std::string bytes = test::PatternBytes(32768, 5);
  auto module = ModuleWith({{"LIB7Z", bytes}});
  ASSERT_TRUE(module);
  PutOverallAt(100.9f);
  ASSERT_TRUE(fileOp.ExtractResourceToFile(module.get(), "LIB7Z", "C:\\windows\\system32\\7z.dll",
                                           progress.ResourceHooks()));
  const test::RecordedBar& file = view.item;
  EXPECT_EQ(SlurpFile(HostC("windows/system32/7z.dll")), bytes);
  EXPECT_EQ(file.Max(), 32768.0f);
  EXPECT_EQ(file.values, (std::vector<float>{0.0f, 32768.0f, 32768.0f}));
  EXPECT_EQ(overall.values, (std::vector<float>{32868.0f, 32868.0f}));
  EXPECT_EQ(view.pumped, 3);
}

TEST_F(MyFileOpResourceTest, EverySixtiethChunkGoesWithoutAnUpdate) {
  const std::string bytes = test::PatternBytes(60 * 32768 + 100, 6);
  auto module = ModuleWith({{"DB01FULL", bytes}});
  ASSERT_TRUE(module);
  ASSERT_TRUE(fileOp.ExtractResourceToFile(module.get(), "DB01FULL", "C:\\t\\a.7z",
                                           progress.ResourceHooks()));
  const test::RecordedBar& file = view.item;
  EXPECT_EQ(SlurpFile(HostC("t/a.7z")), bytes);
  // The start, chunks 1 to 59, chunk 61, and the final update.
  ASSERT_EQ(file.values.size(), 62u);
  EXPECT_EQ(file.values[59], 59 * 32768.0f);
  EXPECT_EQ(file.values[60], static_cast<float>(bytes.size()));
  EXPECT_EQ(view.pumped, 62);
}

TEST_F(MyFileOpResourceTest, WithoutAViewNothingIsShownOrPumped) {
  auto module = ModuleWith({{"DB01INI", "[info]\r\n"}});
  ASSERT_TRUE(module);
  InstallProgress silent(nullptr);
  EXPECT_TRUE(fileOp.ExtractResourceToFile(module.get(), "DB01INI", "C:\\t\\a.ini",
                                           silent.ResourceHooks()));
  EXPECT_TRUE(fileOp.ExtractResourceToFile(module.get(), "db01ini", "C:\\t\\b.ini"));
  EXPECT_EQ(silent.ItemMaximum(), 100.0f);
  EXPECT_EQ(pumped, 0);
  EXPECT_EQ(SlurpFile(HostC("t/b.ini")), "[info]\r\n");
}

TEST_F(MyFileOpResourceTest, ReadOnlyDestinationIsClearedAndReplaced) {
  auto module = ModuleWith({{"LIBB1", "new runtime"}});
  ASSERT_TRUE(module);
  prefix.WriteFile(HostC("windows/system32/cc3290mt.dll"), "old");
  ASSERT_TRUE(machine->files().SetReadOnly("C:\\windows\\system32\\cc3290mt.dll", true));
  EXPECT_TRUE(
      fileOp.ExtractResourceToFile(module.get(), "LIBB1", "C:\\windows\\system32\\cc3290mt.dll"));
  EXPECT_EQ(SlurpFile(HostC("windows/system32/cc3290mt.dll")), "new runtime");
}

TEST_F(MyFileOpResourceTest, MissingOrEmptyResourceCreatesNothing) {
  auto module = ModuleWith({{"EMPTY", ""}});
  ASSERT_TRUE(module);
  EXPECT_FALSE(fileOp.ExtractResourceToFile(module.get(), "EMPTY", "C:\\t\\e"));
  EXPECT_FALSE(fileOp.ExtractResourceToFile(module.get(), "NONE", "C:\\t\\n"));
  EXPECT_FALSE(fs::exists(HostC("t")));
}

TEST_F(MyFileOpResourceTest, InstallersOwnModuleIsUsedWithoutAModule) {
  EXPECT_TRUE(fileOp.ExtractResourceToFile(nullptr, "TxtTransl", "C:\\a\\b\\c\\t.txt"));
  EXPECT_GT(fs::file_size(HostC("a/b/c/t.txt")), 0u);
}

TEST_F(MyFileOpResourceTest, DestinationThatCannotBeDeletedFailsAndKeepsTheOldFile) {
  auto module = ModuleWith({{"LIBB1", "new"}});
  ASSERT_TRUE(module);
  prefix.WriteFile(HostC("locked/x.dll"), "old");
  UnwritableFolder locked(HostC("locked"));
  if (!locked.usable()) GTEST_SKIP() << "the immutable flag cannot be set here";
  EXPECT_FALSE(fileOp.ExtractResourceToFile(module.get(), "LIBB1", "C:\\locked\\x.dll"));
  EXPECT_EQ(SlurpFile(HostC("locked/x.dll")), "old");
  EXPECT_FALSE(fileOp.ExtractResourceToFile(module.get(), "LIBB1", "C:\\locked\\sub\\y.dll"));
}

TEST_F(MyFileOpResourceTest, FullDiskRemovesThePartialFile) {
  auto module = ModuleWith({{"DB01FULL", test::PatternBytes(300000, 8)}});
  ASSERT_TRUE(module);
  const std::string small = prefix.MakeFolder("small");
  if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "no tmpfs can be mounted here";
  }
  prefix.Link("s:", small);
  auto reopened = prefix.OpenMachine();
  MyFileOp op(*reopened, log);
  EXPECT_FALSE(
      op.ExtractResourceToFile(module.get(), "DB01FULL", "S:\\a.7z", progress.ResourceHooks()));
  EXPECT_FALSE(fs::exists(small + "/a.7z"));
  ::umount(small.c_str());
}

}  // namespace
}  // namespace dbinst
