#include "payload/ShellOps.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/Machine.h"
#include "tests/support/SleepingProcess.h"
#include "tests/support/TempPrefix.h"
#include "tools/pe/PeWriter.h"

namespace dbinst {
namespace {

std::pair<int, int> Numbers(const char* text) {
  const TFileVersionNumbers numbers = ShellOps::VersionNumbersOfText(text);
  return {numbers.major, numbers.minor};
}

TEST(ShellOpsTest, VersionNumbersReadMajorAndMinorOfAFullVersion) {
  EXPECT_EQ(Numbers("6.2.0.15"), std::make_pair(6, 2));
  EXPECT_EQ(Numbers("2.0.0.0"), std::make_pair(2, 0));
  EXPECT_EQ(Numbers("10.12.3"), std::make_pair(10, 12));
}

TEST(ShellOpsTest, VersionTextWithOneDotKeepsItsMinorNumber) {
  EXPECT_EQ(Numbers("5.81"), std::make_pair(5, 81));
  EXPECT_EQ(Numbers("2.0"), std::make_pair(2, 0));
  EXPECT_EQ(Numbers("6."), std::make_pair(6, -1));
}

TEST(ShellOpsTest, UnreadableVersionPartsGiveMinusOne) {
  EXPECT_EQ(Numbers(""), std::make_pair(-1, -1));
  EXPECT_EQ(Numbers("   "), std::make_pair(-1, -1));
  EXPECT_EQ(Numbers(".5.1"), std::make_pair(-1, -1));
  EXPECT_EQ(Numbers("6"), std::make_pair(-1, -1));
  EXPECT_EQ(Numbers("v6.2.1"), std::make_pair(-1, 2));
  EXPECT_EQ(Numbers("6.x.1"), std::make_pair(6, -1));
  EXPECT_EQ(Numbers("6..1"), std::make_pair(6, -1));
  EXPECT_EQ(Numbers("99999999999.1.0"), std::make_pair(-1, 1));
}

class ShellOpsOnPrefixTest : public ::testing::Test {
 protected:
  void WriteProgram(const std::string& relative, std::optional<VersionResource> version) {
    std::string error;
    const std::string host = prefix.driveC() + "/" + relative;
    std::filesystem::create_directories(std::filesystem::path(host).parent_path());
    ASSERT_TRUE(WritePeFile(host, PeImage{false, std::move(version)}, error)) << error;
  }

  test::TempPrefix prefix;
  std::unique_ptr<Machine> machine = prefix.OpenMachine();
  ShellOps shell{*machine};
};

TEST_F(ShellOpsOnPrefixTest, FoldersComeFromThePrefix) {
  EXPECT_EQ(shell.WindowsFolder, "C:\\windows");
  EXPECT_EQ(shell.SystemFolder, "C:\\windows\\system32");
  EXPECT_EQ(shell.TempFolder, "C:\\users\\root\\Temp\\");
}

TEST_F(ShellOpsOnPrefixTest, VersionTextIsTheFileVersionOfTheFirstTranslation) {
  WriteProgram("Velmora/Orvane 2/Orvane.exe", MakeVersionResource({2, 1, 0, 7}, "2.1.0.7"));
  WriteProgram("Velmora/Orvane 2/Manager.dll", MakeVersionResource({6, 2, 0, 15}, " 5.81 "));
  WriteProgram("Velmora/Orvane 2/kafle.dll", std::nullopt);
  const TFileVersionNumbers orvane = shell.FileVersionNumbers("C:\\VELMORA\\orvane 2\\orvane.EXE");
  EXPECT_EQ(orvane.text, "2.1.0.7");
  EXPECT_EQ(orvane.major, 2);
  EXPECT_EQ(orvane.minor, 1);
  // The text is what counts, even where the fixed numbers say otherwise.
  EXPECT_EQ(shell.FileVersionText("C:\\Velmora\\Orvane 2\\Manager.dll"), "5.81");
  const TFileVersionNumbers none = shell.FileVersionNumbers("C:\\Velmora\\Orvane 2\\kafle.dll");
  EXPECT_EQ(none.text, "");
  EXPECT_EQ(std::make_pair(none.major, none.minor), std::make_pair(-1, -1));
  EXPECT_EQ(shell.FileVersionText("C:\\Velmora\\Orvane 2\\missing.dll"), "");
}

TEST_F(ShellOpsOnPrefixTest, RunningProgramIsFoundByFileNameWithoutRegardToCaseOrBlanks) {
  const std::string executable = prefix.MakeFolder("bin") + "/icad.exe";
  std::filesystem::copy_file("/bin/sleep", executable);
  EXPECT_FALSE(shell.IsProcessRunning("icad.exe"));
  test::SleepingProcess icad(executable, "C:\\Program Files\\IntelliCAD\\icad.exe");
  ASSERT_GT(icad.pid(), 0);
  bool running = false;
  // The child needs a moment to reach exec and take its new name.
  for (int attempt = 0; attempt < 200 && !running; ++attempt) {
    running = shell.IsProcessRunning("  ICAD.EXE ");
    if (!running) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(running);
  EXPECT_TRUE(shell.IsProcessRunning("icad.exe"));
  EXPECT_FALSE(shell.IsProcessRunning("acad.exe"));
  EXPECT_FALSE(shell.IsProcessRunning("icad"));
}

}  // namespace
}  // namespace dbinst
