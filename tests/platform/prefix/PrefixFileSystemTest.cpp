#include "platform/prefix/PrefixFileSystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <filesystem>
#include <fstream>

#include "tests/support/TempPrefix.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;
using test::TempPrefix;
using test::UnwritableFolder;

std::string Canonical(const std::string& path) { return fs::weakly_canonical(path).string(); }

std::vector<std::string> NamesOf(const std::vector<DirEntry>& entries) {
  std::vector<std::string> names;
  for (const auto& entry : entries) names.push_back(entry.name);
  return names;
}

class PrefixFileSystemTest : public ::testing::Test {
 protected:
  TempPrefix prefix;
  std::unique_ptr<PrefixRegistry> registry = prefix.LoadRegistry();
  PrefixFileSystem files{prefix.path(), *registry};
};

TEST_F(PrefixFileSystemTest, OnlySingleLetterLinksToExistingFoldersAreDrives) {
  prefix.Link("c::", "/dev/null");
  prefix.Link("d:", prefix.path() + "/missing");
  prefix.Link("e:", "/etc/hostname");
  prefix.Link("aa:", "/");
  EXPECT_EQ(files.DriveLetters(), (std::vector<std::string>{"C", "Z"}));
  EXPECT_EQ(files.GetDriveType("C:\\"), kDriveFixed);
  EXPECT_EQ(files.GetDriveType("z:"), kDriveFixed);
  EXPECT_EQ(files.GetDriveType("D:\\"), kDriveNoRootDir);
  EXPECT_EQ(files.GetDriveType("Q:\\"), kDriveNoRootDir);
  EXPECT_EQ(files.GetDriveType("C:\\windows\\"), kDriveNoRootDir);
  EXPECT_EQ(files.GetDriveType(""), kDriveNoRootDir);
}

TEST_F(PrefixFileSystemTest, DriveTypesFollowWineDefaultsThenTheDrivesKey) {
  const std::string folder = prefix.MakeFolder("media");
  for (const char* letter : {"a:", "b:", "d:", "e:", "f:", "g:"}) prefix.Link(letter, folder);
  prefix.SetWineDriveType("a:", "hd");
  prefix.SetWineDriveType("D:", "cdrom");
  prefix.SetWineDriveType("e:", "network");
  prefix.SetWineDriveType("f:", "ramdisk");
  prefix.SetWineDriveType("g:", "no such type");
  const auto typedRegistry = prefix.LoadRegistry();
  const PrefixFileSystem typed(prefix.path(), *typedRegistry);
  EXPECT_EQ(typed.GetDriveType("A:\\"), kDriveFixed);
  EXPECT_EQ(typed.GetDriveType("B:\\"), kDriveRemovable);
  EXPECT_EQ(typed.GetDriveType("d:\\"), kDriveCdrom);
  EXPECT_EQ(typed.GetDriveType("E:\\"), kDriveRemote);
  EXPECT_EQ(typed.GetDriveType("F:\\"), kDriveRamdisk);
  EXPECT_EQ(typed.GetDriveType("G:\\"), kDriveFixed);
}

TEST_F(PrefixFileSystemTest, DiskSpaceComesFromTheFileSystemOfTheLinkTarget) {
  struct statvfs vfs {};
  ASSERT_EQ(::statvfs("/", &vfs), 0);
  const auto space = files.GetDiskSpace(26);
  ASSERT_TRUE(space.has_value());
  EXPECT_EQ(space->total, static_cast<int64_t>(vfs.f_blocks * vfs.f_frsize));
  EXPECT_GT(space->freeToCaller, 0);
  EXPECT_LE(space->freeToCaller, space->totalFree);
  EXPECT_FALSE(files.GetDiskSpace(4).has_value());
  EXPECT_FALSE(files.GetDiskSpace(27).has_value());
  EXPECT_FALSE(files.GetDiskSpace(-1).has_value());
}

TEST_F(PrefixFileSystemTest, CurrentDriveIsTheDriveHoldingTheWorkingFolder) {
  const fs::path before = fs::current_path();
  fs::current_path(prefix.driveC() + "/windows");
  const auto inC = files.GetDiskSpace(0);
  prefix.Unlink("z:");
  fs::current_path(prefix.path());
  const auto outsideEveryDrive = files.GetDiskSpace(0);
  fs::current_path(before);
  ASSERT_TRUE(inC.has_value());
  EXPECT_EQ(inC->total, files.GetDiskSpace(3)->total);
  EXPECT_FALSE(outsideEveryDrive.has_value());
}

TEST_F(PrefixFileSystemTest, ComponentsMatchWithoutRegardToCaseAndMissingOnesKeepTheirSpelling) {
  prefix.WriteFile(prefix.driveC() + "/Users/Anna/File.TXT", "x");
  prefix.WriteFile(prefix.driveC() + "/ŁÓDŹ/plik.txt", "x");
  const std::string anna = Canonical(prefix.driveC() + "/Users/Anna");
  EXPECT_EQ(files.HostPath("c:\\users\\ANNA\\file.txt"), anna + "/File.TXT");
  EXPECT_EQ(files.HostPath("C:/USERS\\anna/"), anna);
  EXPECT_EQ(files.HostPath("C:\\users\\anna\\New Folder\\Sub\\x.txt"),
            anna + "/New Folder/Sub/x.txt");
  EXPECT_EQ(files.HostPath("C:\\łódź\\PLIK.TXT"), Canonical(prefix.driveC() + "/ŁÓDŹ/plik.txt"));
  EXPECT_TRUE(files.FileExists("C:\\USERS\\Anna\\FILE.txt"));
  EXPECT_TRUE(files.FolderExists("c:\\users\\anna\\"));
  EXPECT_FALSE(files.FolderExists("c:\\users\\anna\\file.txt"));
  EXPECT_FALSE(files.FileExists("c:\\users\\anna"));
  EXPECT_EQ(files.HostPath("users\\anna"), "");
  EXPECT_EQ(files.HostPath("Q:\\x"), "");
}

TEST_F(PrefixFileSystemTest, AnExactNameWinsOverACaseInsensitiveOne) {
  fs::create_directories(prefix.driveC() + "/abc");
  fs::create_directories(prefix.driveC() + "/ABC");
  EXPECT_EQ(files.HostPath("C:\\ABC"), Canonical(prefix.driveC() + "/ABC"));
  EXPECT_EQ(files.HostPath("C:\\abc"), Canonical(prefix.driveC() + "/abc"));
}

TEST_F(PrefixFileSystemTest, DotsNeverClimbAboveTheDriveRoot) {
  const std::string driveC = Canonical(prefix.driveC());
  EXPECT_EQ(files.HostPath("C:\\..\\..\\..\\etc"), driveC + "/etc");
  EXPECT_EQ(files.HostPath("C:\\a\\.\\b\\..\\c"), driveC + "/a/c");
  EXPECT_EQ(files.HostPath("C:\\windows\\.."), driveC);
  EXPECT_EQ(files.HostPath("\\\\?\\unix\\tmp\\..\\..\\etc\\hostname"), "/etc/hostname");
  using namespace std::string_literals;
  prefix.WriteFile(prefix.driveC() + "/keep/file.txt", "x");
  EXPECT_FALSE(files.ShellDelete("C:\\keep\\file.txt\0\\.."s));
  EXPECT_EQ(files.HostPath("C:\\keep\0\\.."s), "");
  EXPECT_TRUE(fs::exists(prefix.driveC() + "/keep/file.txt"));
}

TEST_F(PrefixFileSystemTest, UnixPathsAndLongPathsNameTheirTargetsDirectly) {
  EXPECT_EQ(files.HostPath("\\\\?\\unix\\etc\\hostname"), "/etc/hostname");
  EXPECT_EQ(files.HostPath("\\\\?\\unix/etc/hostname"), "/etc/hostname");
  EXPECT_EQ(files.HostPath("\\\\?\\unix\\"), "/");
  EXPECT_EQ(files.HostPath("\\\\?\\C:\\windows"), Canonical(prefix.driveC() + "/windows"));
  EXPECT_TRUE(files.FileExists("\\\\?\\unix\\etc\\hostname"));
}

TEST_F(PrefixFileSystemTest, HostPathsAreWrittenThroughTheDriveHoldingThemMostClosely) {
  EXPECT_EQ(files.WindowsPathOfHost(prefix.driveC() + "/windows/system32"),
            "C:\\windows\\system32");
  EXPECT_EQ(files.WindowsPathOfHost(prefix.driveC()), "C:\\");
  EXPECT_EQ(files.WindowsPathOfHost("/usr/bin/"), "Z:\\usr\\bin");
  EXPECT_EQ(files.WindowsPathOfHost("/"), "Z:\\");
  prefix.Unlink("z:");
  EXPECT_EQ(files.WindowsPathOfHost("/usr/bin"), "\\\\?\\unix\\usr\\bin");
}

TEST_F(PrefixFileSystemTest, FindMatchesTheLastComponentLikeFindFirstFile) {
  const std::string dir = prefix.driveC() + "/dir";
  for (const char* name : {"a.txt", "b.TXT", "README", "ab.txt.bak"}) {
    prefix.WriteFile(dir + "/" + name, "x");
  }
  fs::create_directories(dir + "/Sub");
  EXPECT_EQ(NamesOf(files.Find("C:\\DIR\\*.*")),
            (std::vector<std::string>{"README", "Sub", "a.txt", "ab.txt.bak", "b.TXT"}));
  EXPECT_EQ(NamesOf(files.Find("C:\\dir\\*")).size(), 5u);
  EXPECT_EQ(NamesOf(files.Find("C:\\dir\\*.txt")), (std::vector<std::string>{"a.txt", "b.TXT"}));
  EXPECT_EQ(NamesOf(files.Find("C:\\dir\\?.TXT")), (std::vector<std::string>{"a.txt", "b.TXT"}));
  EXPECT_EQ(NamesOf(files.Find("C:\\dir\\readme.*")), (std::vector<std::string>{"README"}));
  const auto sub = files.Find("c:\\dir\\sub");
  ASSERT_EQ(sub.size(), 1u);
  EXPECT_EQ(sub[0].name, "Sub");
  EXPECT_TRUE(sub[0].isFolder);
  EXPECT_FALSE(files.Find("C:\\dir\\readme")[0].isFolder);
  EXPECT_TRUE(files.Find("C:\\dir\\").empty());
  EXPECT_TRUE(files.Find("C:\\d*\\a.txt").empty());
  EXPECT_TRUE(files.Find("C:\\dir\\missing").empty());
  EXPECT_TRUE(files.Find("C:\\nowhere\\*").empty());
  EXPECT_TRUE(files.Find("C:\\dir\\.*").empty());
}

TEST_F(PrefixFileSystemTest, ShellDeleteRemovesTheEntryWithEverythingBelowIt) {
  const std::string outside = prefix.MakeFolder("outside");
  prefix.WriteFile(outside + "/keep.txt", "x");
  prefix.WriteFile(prefix.driveC() + "/tree/a/b/c.txt", "x");
  fs::create_symlink(outside, prefix.driveC() + "/tree/a/link");
  EXPECT_TRUE(files.ShellDelete("C:\\TREE"));
  EXPECT_FALSE(fs::exists(prefix.driveC() + "/tree"));
  EXPECT_TRUE(fs::exists(outside + "/keep.txt"));
  EXPECT_FALSE(files.ShellDelete("C:\\tree"));
  EXPECT_FALSE(files.ShellDelete("C:\\"));
  EXPECT_TRUE(fs::exists(prefix.driveC() + "/windows"));
}

TEST_F(PrefixFileSystemTest, ShellDeleteWithWildcardsRemovesEveryMatch) {
  const std::string dir = prefix.driveC() + "/dir";
  prefix.WriteFile(dir + "/one.tmp", "x");
  prefix.WriteFile(dir + "/Two.TMP/inner.txt", "x");
  prefix.WriteFile(dir + "/keep.txt", "x");
  EXPECT_TRUE(files.ShellDelete("C:\\dir\\*.tmp"));
  EXPECT_EQ(NamesOf(files.Find("C:\\dir\\*")), (std::vector<std::string>{"keep.txt"}));
  EXPECT_FALSE(files.ShellDelete("C:\\dir\\*.tmp"));
  EXPECT_TRUE(files.ShellDelete("C:\\dir\\*.*"));
  EXPECT_TRUE(fs::is_directory(dir));
  EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(PrefixFileSystemTest, ShellDeleteReportsFailureWhenPartOfTheTreeCannotGo) {
  prefix.WriteFile(prefix.driveC() + "/tree/locked/file.txt", "x");
  UnwritableFolder locked(prefix.driveC() + "/tree/locked");
  if (!locked.usable()) GTEST_SKIP() << "cannot make a folder that refuses changes here";
  EXPECT_FALSE(files.ShellDelete("C:\\tree"));
  EXPECT_TRUE(fs::exists(prefix.driveC() + "/tree/locked/file.txt"));
}

TEST_F(PrefixFileSystemTest, ReadOnlyIsTheMissingOwnerWriteBit) {
  prefix.WriteFile(prefix.driveC() + "/file.txt", "x");
  const std::string host = prefix.driveC() + "/file.txt";
  EXPECT_FALSE(files.IsReadOnly("C:\\FILE.TXT"));
  ASSERT_TRUE(files.SetReadOnly("C:\\file.txt", true));
  const auto writeBits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  EXPECT_EQ(fs::status(host).permissions() & writeBits, fs::perms::none);
  EXPECT_TRUE(files.IsReadOnly("C:\\file.txt"));
  EXPECT_FALSE(files.DeleteFile("C:\\file.txt"));
  EXPECT_EQ(files.CreateForWrite("C:\\file.txt"), nullptr);
  ASSERT_TRUE(files.SetReadOnly("C:\\file.txt", false));
  EXPECT_FALSE(files.IsReadOnly("C:\\file.txt"));
  EXPECT_TRUE(files.DeleteFile("C:\\file.txt"));
  EXPECT_FALSE(files.SetReadOnly("C:\\file.txt", true));
  EXPECT_FALSE(files.DeleteFile("C:\\windows"));
}

TEST_F(PrefixFileSystemTest, LastWriteTimeIsTheModificationTime) {
  prefix.WriteFile(prefix.driveC() + "/dated.ini", "x");
  const struct utimbuf times { 1600000000, 1700000000 };
  ASSERT_EQ(::utime((prefix.driveC() + "/dated.ini").c_str(), &times), 0);
  EXPECT_EQ(files.LastWriteTime("c:\\DATED.INI"), 1700000000);
  EXPECT_FALSE(files.LastWriteTime("c:\\missing.ini").has_value());
}

TEST_F(PrefixFileSystemTest, WrittenFilesReadBackAndTruncateOnRewrite) {
  ASSERT_TRUE(files.CreateFolders("C:\\users\\anna\\Temp\\deep\\"));
  EXPECT_TRUE(fs::is_directory(prefix.driveC() + "/users/anna/Temp/deep"));
  auto out = files.CreateForWrite("C:\\Users\\Anna\\temp\\deep\\data.bin");
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(out->Write("0123456789", 10), 10);
  EXPECT_TRUE(out->Close());
  auto in = files.OpenForRead("C:\\users\\anna\\temp\\deep\\DATA.BIN");
  ASSERT_NE(in, nullptr);
  EXPECT_EQ(in->Size(), 10);
  ASSERT_TRUE(in->Seek(6));
  char buffer[8] = {};
  EXPECT_EQ(in->Read(buffer, 8), 4);
  EXPECT_EQ(std::string(buffer, 4), "6789");
  EXPECT_EQ(in->Read(buffer, 8), 0);
  EXPECT_FALSE(in->Seek(-1));

  auto again = files.CreateForWrite("C:\\users\\anna\\temp\\deep\\data.bin");
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(again->Close());
  EXPECT_EQ(fs::file_size(prefix.driveC() + "/users/anna/Temp/deep/data.bin"), 0u);
}

TEST_F(PrefixFileSystemTest, FilesCannotBeOpenedWhereNoFileCanBe) {
  EXPECT_EQ(files.CreateForWrite("C:\\no\\such\\folder\\x.txt"), nullptr);
  EXPECT_EQ(files.CreateForWrite("C:\\windows"), nullptr);
  EXPECT_EQ(files.CreateForWrite("Q:\\x.txt"), nullptr);
  EXPECT_EQ(files.OpenForRead("C:\\windows"), nullptr);
  EXPECT_EQ(files.OpenForRead("C:\\missing.txt"), nullptr);
  EXPECT_FALSE(files.CreateFolders("Q:\\x"));
}

TEST_F(PrefixFileSystemTest, AWriteToAFullDiskReportsTheShortfall) {
  auto full = files.CreateForWrite("\\\\?\\unix\\dev\\full");
  ASSERT_NE(full, nullptr);
  EXPECT_LT(full->Write("data", 4), 4);
  EXPECT_FALSE(full->Close());
}

}  // namespace
}  // namespace dbinst

namespace dbinst {
namespace {

class PrefixFileSystemMoveTest : public PrefixFileSystemTest {};

TEST_F(PrefixFileSystemMoveTest, MovesRenameAndReplaceOnlyWhenAskedAndNeverAFolderOrReadOnlyFile) {
  prefix.WriteFile(prefix.driveC() + "/a/one.txt", "one");
  prefix.WriteFile(prefix.driveC() + "/a/two.txt", "two");
  fs::create_directories(prefix.driveC() + "/b/sub");
  EXPECT_TRUE(files.MoveFile("C:\\A\\ONE.TXT", "C:\\b\\first.txt", false));
  EXPECT_FALSE(fs::exists(prefix.driveC() + "/a/one.txt"));
  EXPECT_FALSE(files.MoveFile("C:\\a\\two.txt", "C:\\b\\first.txt", false));
  EXPECT_TRUE(files.MoveFile("C:\\a\\two.txt", "C:\\b\\first.txt", true));
  std::ifstream moved(prefix.driveC() + "/b/first.txt");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(moved), {}), "two");
  prefix.WriteFile(prefix.driveC() + "/a/three.txt", "three");
  EXPECT_FALSE(files.MoveFile("C:\\a\\three.txt", "C:\\b\\sub", true));
  ASSERT_TRUE(files.SetReadOnly("C:\\b\\first.txt", true));
  EXPECT_FALSE(files.MoveFile("C:\\a\\three.txt", "C:\\b\\first.txt", true));
  EXPECT_FALSE(files.MoveFile("C:\\a\\none.txt", "C:\\b\\none.txt", false));
  EXPECT_TRUE(files.MoveFile("C:\\b\\sub", "C:\\a\\sub", false)) << "folders move too";
}

TEST_F(PrefixFileSystemMoveTest, OnlyAnEmptyFolderIsRemoved) {
  prefix.WriteFile(prefix.driveC() + "/full/file.txt", "x");
  fs::create_directories(prefix.driveC() + "/empty");
  EXPECT_FALSE(files.RemoveFolder("C:\\full"));
  EXPECT_TRUE(files.RemoveFolder("C:\\EMPTY"));
  EXPECT_FALSE(fs::exists(prefix.driveC() + "/empty"));
  EXPECT_FALSE(files.RemoveFolder("C:\\"));
  EXPECT_FALSE(files.RemoveFolder("C:\\full\\file.txt"));
}

TEST_F(PrefixFileSystemMoveTest, ALockIsHeldByOneHolderAndItsFileGoesWithIt) {
  fs::create_directories(prefix.driveC() + "/work");
  auto first = files.TryLock("C:\\work\\lock");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(files.TryLock("C:\\WORK\\LOCK"), nullptr);
  EXPECT_EQ(files.TryLock("C:\\missing\\lock"), nullptr);
  first.reset();
  EXPECT_FALSE(fs::exists(prefix.driveC() + "/work/lock"));
  // A holder killed without letting go leaves its file, which the next one simply takes.
  prefix.WriteFile(prefix.driveC() + "/work/lock", "");
  EXPECT_NE(files.TryLock("C:\\work\\lock"), nullptr);
}

TEST_F(PrefixFileSystemMoveTest, AnotherProcessCannotTakeAHeldLock) {
  fs::create_directories(prefix.driveC() + "/work");
  auto held = files.TryLock("C:\\work\\lock");
  ASSERT_NE(held, nullptr);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ::_exit(files.TryLock("C:\\work\\lock") == nullptr ? 0 : 1);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(PrefixFileSystemMoveTest, SyncedDataIsOnTheDiskAndAClosedFileSyncsNoMore) {
  auto file = files.CreateForWrite("C:\\synced.txt");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(file->Write("abc", 3), 3);
  EXPECT_TRUE(file->Sync());
  EXPECT_TRUE(file->Close());
  EXPECT_FALSE(file->Sync());
}

}  // namespace
}  // namespace dbinst
