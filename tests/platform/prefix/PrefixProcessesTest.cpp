#include "platform/prefix/PrefixProcesses.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/support/TempPrefix.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;

// A real sleeping process started from a copy of sleep, under any argv[0]; killed and reaped at
// the end.
class SleepingProcess {
 public:
  SleepingProcess(const std::string& executable, const std::string& argv0) {
    std::string seconds = "60";
    char* argv[] = {const_cast<char*>(argv0.c_str()), seconds.data(), nullptr};
    if (::posix_spawn(&pid_, executable.c_str(), nullptr, nullptr, argv, environ) != 0) pid_ = 0;
  }
  ~SleepingProcess() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = 0;
};

std::vector<std::string> NamesOfPid(int pid) {
  // The child may not have reached exec yet; its names settle within moments.
  for (int attempt = 0; attempt < 200; ++attempt) {
    for (const auto& entry : PrefixProcesses().Enumerate()) {
      if (entry.pid == pid && entry.executableNames.front() != "dbinst_tests") {
        return entry.executableNames;
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return {};
}

class PrefixProcessesTest : public ::testing::Test {
 protected:
  std::string CopyOfSleep(const std::string& name) {
    const std::string path = prefix.MakeFolder("bin") + "/" + name;
    fs::copy_file("/bin/sleep", path, fs::copy_options::overwrite_existing);
    return path;
  }
  test::TempPrefix prefix;
};

TEST_F(PrefixProcessesTest, AProgramUnderWineIsKnownByTheFileNameOfItsWindowsPath) {
  const std::string executable = CopyOfSleep("icad.exe");
  SleepingProcess wine(executable, "C:\\Program Files\\IntelliCAD\\icad.exe");
  ASSERT_GT(wine.pid(), 0);
  EXPECT_EQ(NamesOfPid(wine.pid()), (std::vector<std::string>{"icad.exe"}));
}

TEST_F(PrefixProcessesTest, ANativeProgramIsKnownByItsPosixPathAndItsKernelName) {
  const std::string executable = CopyOfSleep("averylongprogramname.exe");
  SleepingProcess native(executable, executable);
  ASSERT_GT(native.pid(), 0);
  EXPECT_EQ(NamesOfPid(native.pid()),
            (std::vector<std::string>{"averylongprogramname.exe", "averylongprogra"}));
}

TEST_F(PrefixProcessesTest, EveryProcessIsListedWithoutALimit) {
  std::vector<std::unique_ptr<SleepingProcess>> many;
  const std::string executable = CopyOfSleep("many.exe");
  for (int i = 0; i < 260; ++i) many.push_back(std::make_unique<SleepingProcess>(executable, "x"));
  const auto processes = PrefixProcesses().Enumerate();
  EXPECT_GT(processes.size(), 260u);
  for (const auto& child : many) {
    EXPECT_TRUE(std::any_of(processes.begin(), processes.end(),
                            [&](const ProcessEntry& entry) { return entry.pid == child->pid(); }));
  }
  EXPECT_TRUE(std::any_of(processes.begin(), processes.end(),
                          [](const ProcessEntry& entry) { return entry.pid == ::getpid(); }));
}

TEST(ExecutableNamesOfTest, TheExecutableLinkStandsInForAnEmptyCommandLine) {
  EXPECT_EQ(ExecutableNamesOf("", "kthreadd", ""), (std::vector<std::string>{"kthreadd"}));
  EXPECT_EQ(ExecutableNamesOf("", "icad.exe", "/opt/wine/bin/wine64-preloader"),
            (std::vector<std::string>{"wine64-preloader", "icad.exe"}));
  EXPECT_EQ(ExecutableNamesOf("C:/x/ICAD.EXE", "ICAD.EXE", "/ignored"),
            (std::vector<std::string>{"ICAD.EXE"}));
}

}  // namespace
}  // namespace dbinst
