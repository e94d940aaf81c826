#include "payload/MyFileOp.h"

#include <gtest/gtest.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "env/InstallLog.h"
#include "env/MessagePump.h"
#include "platform/Machine.h"
#include "platform/prefix/PrefixMachine.h"
#include "tests/support/TempPrefix.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;
using test::TempPrefix;
using test::UnwritableFolder;

int64_t TotalBytesOf(const std::string& hostPath) {
  struct statvfs vfs {};
  if (::statvfs(hostPath.c_str(), &vfs) != 0) return -1;
  return static_cast<int64_t>(vfs.f_blocks * vfs.f_frsize);
}

bool RootMayWrite(const std::string& hostPath) { return ::access(hostPath.c_str(), W_OK) == 0; }

const std::string kCheckup = std::string(kCheckupFileName);

class MyFileOpTest : public ::testing::Test {
 protected:
  // Drive types live in the registry, which a machine reads once when it opens.
  void Reopen() {
    fileOp.reset();
    machine = prefix.OpenMachine();
    fileOp = std::make_unique<MyFileOp>(*machine, log);
  }

  TempPrefix prefix;
  std::unique_ptr<Machine> machine = prefix.OpenMachine();
  InstallLog log;
  std::unique_ptr<MyFileOp> fileOp = std::make_unique<MyFileOp>(*machine, log);
};

TEST_F(MyFileOpTest, DriveScanLogsOneLineForEachLetterFromCToZ) {
  const auto drives = fileOp->ListLocalDrives();
  const auto& lines = log.Lines();
  ASSERT_EQ(lines.size(), 24u);
  const int64_t sizeC = TotalBytesOf(prefix.driveC());
  ASSERT_GT(sizeC, kSmallestAcceptedDriveSize) << "this test needs a disk above 10 GB";
  EXPECT_EQ(lines[0], "Examining drive C: Type = 3; Size = " + std::to_string(sizeC) +
                          "; Trying the checkup file: C:\\" + kCheckup + "; Yaaay, added up");
  for (char letter = 'D'; letter <= 'Y'; ++letter) {
    EXPECT_EQ(lines[letter - 'C'], std::string("Examining drive ") + letter + ": Type = 1;");
  }
  const std::string lineZ =
      "Examining drive Z: Type = 3; Size = " + std::to_string(TotalBytesOf("/")) +
      "; Trying the checkup file: Z:\\" + kCheckup + ";";
  const bool acceptsZ = RootMayWrite("/");
  EXPECT_EQ(lines[23], acceptsZ ? lineZ + " Yaaay, added up" : lineZ);
  ASSERT_EQ(drives.size(), acceptsZ ? 2u : 1u);
  EXPECT_EQ(drives[0].letter, "C");
  EXPECT_EQ(drives[0].size, sizeC);
  EXPECT_GT(drives[0].freeBytes, 0);
  if (acceptsZ) {
    EXPECT_EQ(drives[1].letter, "Z");
  }
  EXPECT_FALSE(fs::exists(prefix.driveC() + "/" + kCheckup));
  EXPECT_FALSE(fs::exists("/" + kCheckup));
}

TEST_F(MyFileOpTest, DriveScanLeavesOutDrivesThatAreNotFixedLargeAndWritable) {
  UnwritableFolder readOnlyRoot(prefix.MakeFolder("readonly"));
  if (!readOnlyRoot.usable()) GTEST_SKIP() << "cannot make a folder that refuses new files here";
  prefix.Link("d:", prefix.path() + "/readonly");
  prefix.Link("e:", prefix.MakeFolder("cdrom"));
  prefix.SetWineDriveType("e:", "cdrom");
  Reopen();
  prefix.Link("f:", "/proc");
  const auto drives = fileOp->ListLocalDrives();
  const auto& lines = log.Lines();
  ASSERT_EQ(lines.size(), 24u);
  EXPECT_EQ(lines[1],
            "Examining drive D: Type = 3; Size = " + std::to_string(TotalBytesOf(prefix.path())) +
                "; Trying the checkup file: D:\\" + kCheckup + ";");
  EXPECT_EQ(lines[2], "Examining drive E: Type = 5;");
  EXPECT_EQ(lines[3], "Examining drive F: Type = 3; Size = 0;");
  for (const auto& drive : drives) {
    EXPECT_TRUE(drive.letter == "C" || drive.letter == "Z") << drive.letter;
  }
}

TEST(DriveSizeTest, OnlyDrivesAboveTenBillionBytesAreLargeEnough) {
  EXPECT_FALSE(IsLargeEnoughDrive(10'000'000'000));
  EXPECT_TRUE(IsLargeEnoughDrive(10'000'000'001));
  EXPECT_FALSE(IsLargeEnoughDrive(-1));
  EXPECT_FALSE(IsLargeEnoughDrive(0));
}

TEST_F(MyFileOpTest, DriveNumbersArePositionsInTheAlphabet) {
  EXPECT_EQ(fileOp->DriveNumberOf("C:\\Program Files"), 3);
  EXPECT_EQ(fileOp->DriveNumberOf("p"), 16);
  EXPECT_EQ(fileOp->DriveNumberOf("z:\\"), 26);
  EXPECT_EQ(fileOp->DriveNumberOf("a"), 1);
  EXPECT_EQ(fileOp->DriveNumberOf("\\\\server\\share"), 0);
  EXPECT_EQ(fileOp->DriveNumberOf("1:\\"), 0);
  EXPECT_EQ(fileOp->DriveNumberOf("ł"), 0);
}

TEST_F(MyFileOpTest, FreeSpaceIsAskedOfTheDriveOfTheFirstCharacter) {
  EXPECT_EQ(fileOp->GetDriveFreeSpace(""), -1);
  EXPECT_EQ(fileOp->GetDriveFreeSpace("Q:\\data"), -1);
  EXPECT_GT(fileOp->GetDriveFreeSpace("c:\\users"), 0);
  const fs::path before = fs::current_path();
  fs::current_path(prefix.driveC());
  const int64_t current = fileOp->GetDriveFreeSpace("\\\\server\\share");
  prefix.Unlink("z:");
  fs::current_path(prefix.path());
  const int64_t noCurrentDrive = fileOp->GetDriveFreeSpace("\\\\server\\share");
  fs::current_path(before);
  EXPECT_GT(current, 0);
  EXPECT_EQ(noCurrentDrive, -1);
}

TEST_F(MyFileOpTest, DeletePathWithABackslashEmptiesTheFolderAndWithoutRemovesIt) {
  prefix.WriteFile(prefix.driveC() + "/users/Temp/cad_db_extraction_temp/DB01.7z", "x");
  prefix.WriteFile(prefix.driveC() + "/users/Temp/cad_db_extraction_temp/sub/DB01.ini", "x");
  const std::string folder = "C:\\users\\temp\\cad_db_extraction_temp";
  EXPECT_TRUE(fileOp->DeletePath(folder + "\\", true));
  EXPECT_TRUE(fs::is_directory(prefix.driveC() + "/users/Temp/cad_db_extraction_temp"));
  EXPECT_TRUE(fileOp->IsFolderEmpty(folder));
  EXPECT_TRUE(fileOp->DeletePath(folder, false));
  EXPECT_FALSE(fs::exists(prefix.driveC() + "/users/Temp/cad_db_extraction_temp"));
  EXPECT_FALSE(fileOp->DeletePath(folder, false));
  EXPECT_FALSE(fileOp->DeletePath("C:\\no\\such\\file.txt", true));
}

TEST_F(MyFileOpTest, DeletePathRefusesAWholeDrive) {
  for (const char* path : {"", "C:\\", "C:", "c:/", "C:\\windows\\..\\", "C:\\windows\\.."}) {
    EXPECT_FALSE(fileOp->DeletePath(path, true)) << path;
  }
  EXPECT_TRUE(fs::is_directory(prefix.driveC() + "/windows/system32"));
}

// The host's root can only be offered safely inside a root of its own, so this runs in a child
// process shut into a fresh folder.
TEST(MyFileOpRootTest, DeletePathRefusesThePathsThatLeadToTheHostRoot) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to shut a process into a folder";
  TempPrefix jail;
  const std::string keep = jail.path() + "/keep.txt";
  jail.WriteFile(keep, "x");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::chroot(jail.path().c_str()) != 0 || ::chdir("/") != 0) ::_exit(2);
    InstallLog log;
    std::string error;
    const auto machine = OpenPrefixMachine({"/", DBINST_INSTALLER_PATH}, error);
    if (!machine) ::_exit(3);
    MyFileOp fileOp(*machine, log);
    bool refused = true;
    for (const char* path : {"Z:\\", "Z:", "z:\\drive_c\\..\\", "\\\\?\\unix\\", "\\\\?\\unix"}) {
      refused = refused && !fileOp.DeletePath(path, true);
    }
    ::_exit(refused && ::access("/keep.txt", F_OK) == 0 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(fs::exists(keep));
  EXPECT_TRUE(fs::exists(jail.driveC() + "/windows/system32"));
}

TEST_F(MyFileOpTest, AFolderHoldingOnlyAnEmptySubfolderIsNotEmpty) {
  int pumped = 0;
  SetMessagePump([&pumped] { ++pumped; });
  fs::create_directories(prefix.driveC() + "/outer/inner");
  fs::create_directories(prefix.driveC() + "/empty");
  EXPECT_FALSE(fileOp->IsFolderEmpty("C:\\outer"));
  EXPECT_TRUE(fileOp->IsFolderEmpty("C:\\OUTER\\inner\\"));
  EXPECT_TRUE(fileOp->IsFolderEmpty("C:\\empty"));
  EXPECT_TRUE(fileOp->IsFolderEmpty("C:\\missing\\"));
  SetMessagePump(nullptr);
  EXPECT_EQ(pumped, 3);
}

TEST_F(MyFileOpTest, PathExistsFindsFilesFoldersAndPatterns) {
  prefix.WriteFile(prefix.driveC() + "/Program Files/IntelliCAD/icad.exe", "x");
  EXPECT_TRUE(fileOp->PathExists("C:\\program files\\intellicad"));
  EXPECT_TRUE(fileOp->PathExists("C:\\Program Files\\IntelliCAD\\ICAD.EXE"));
  EXPECT_TRUE(fileOp->PathExists("C:\\Program Files\\IntelliCAD\\*.exe"));
  EXPECT_FALSE(fileOp->PathExists("C:\\Program Files\\IntelliCAD\\*.dll"));
  EXPECT_FALSE(fileOp->PathExists("C:\\Program Files\\Missing"));
  EXPECT_FALSE(fileOp->PathExists(""));
}

}  // namespace
}  // namespace dbinst
