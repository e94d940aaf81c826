#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "tests/app/WizardWorld.h"
#include "tests/support/RunProcess.h"

extern char** environ;

namespace dbinst {
namespace {

namespace fs = std::filesystem;

// A private X server for the test; stopped at the end.
class XServer {
 public:
  XServer() : display_(":" + std::to_string(70 + ::getpid() % 200)) {
    const std::string number = display_.substr(1);
    const char* argv[] = {"Xvfb",         display_.c_str(), "-screen", "0",
                          "1280x1024x24", "-nolisten",      "tcp",     nullptr};
    if (::posix_spawn(&pid_, "/usr/bin/Xvfb", nullptr, nullptr, const_cast<char**>(argv),
                      environ) != 0) {
      pid_ = 0;
      return;
    }
    for (int attempt = 0; attempt < 200 && !ready_; ++attempt) {
      ready_ = fs::exists("/tmp/.X11-unix/X" + number);
      if (!ready_) std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
  }
  ~XServer() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
  bool ready() const { return ready_; }
  const std::string& display() const { return display_; }

 private:
  std::string display_;
  pid_t pid_ = 0;
  bool ready_ = false;
};

std::string Xdotool(const std::string& display, const std::vector<std::string>& arguments) {
  const auto result = test::RunProcess("/usr/bin/xdotool", arguments, {"DISPLAY=" + display});
  return result.exitCode == 0 ? result.out : std::string();
}

// SDL's message box carries no class or process, which xdotool's search needs; X's own tree
// lists every window with its name.
std::string WindowNamed(const std::string& display, const std::string& name) {
  const auto tree =
      test::RunProcess("/usr/bin/xwininfo", {"-root", "-tree"}, {"DISPLAY=" + display});
  std::istringstream lines(tree.out);
  for (std::string line; std::getline(lines, line);) {
    if (line.find("\"" + name + "\"") == std::string::npos) continue;
    std::istringstream words(line);
    std::string window;
    words >> window;
    return window;
  }
  return {};
}

// At start the process maps and drops a window of the main window's size before the lasting
// one, so the window is looked up again right before the click.
std::string MainWindowOf(const std::string& display, pid_t pid) {
  std::istringstream found(
      Xdotool(display, {"search", "--onlyvisible", "--pid", std::to_string(pid)}));
  std::string window;
  while (std::getline(found, window)) {
    if (Xdotool(display, {"getwindowgeometry", window}).find("Geometry: 559x426") !=
        std::string::npos) {
      return window;
    }
  }
  return {};
}

TEST(WizardDisplayTest, RealWindowUnderXvfbTakesAPointerClickOnNext) {
  if (!fs::exists("/usr/bin/Xvfb") || !fs::exists("/usr/bin/xdotool")) {
    GTEST_SKIP() << "Xvfb and xdotool are needed (scripts/deps.sh installs them)";
  }
  XServer server;
  ASSERT_TRUE(server.ready()) << "Xvfb did not start on " << server.display();
  test::WizardWorld world;
  world.AddPrograms(1);
  world.AddTilePackages(2);
  world.Build();
  auto wizard = world.Start(
      {"DISPLAY=" + server.display(), "DBINST_HEADLESS=0", "DBINST_SCALE=1", "WAYLAND_DISPLAY="});
  EXPECT_EQ(wizard->Object("TabControlMain")["selected"].str(), "TabItem01Welcome");

  std::string window;
  for (int attempt = 0; attempt < 100 && window.empty(); ++attempt) {
    window = MainWindowOf(server.display(), wizard->pid());
    if (window.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_FALSE(window.empty()) << "no window of the installer on " << server.display() << ": "
                               << Xdotool(server.display(), {"search", "--name", "."}) << " "
                               << wizard->Errors();
  // A window just mapped may not take input yet, and the first one found may not last: the click
  // is aimed at the window found right before it, and made again while the page has not turned.
  std::string selected;
  for (int click = 0; click < 5 && selected != "TabItem02ChoosePath"; ++click) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    window = MainWindowOf(server.display(), wizard->pid());
    if (window.empty()) continue;
    // The centre of ButtonMkay: (432, 16) in the bottom bar, 112 x 23, the bar 50 high at the foot.
    Xdotool(server.display(), {"mousemove", "--window", window, "488", "403", "click", "1"});
    for (int poll = 0; poll < 40 && selected != "TabItem02ChoosePath"; ++poll) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      selected = wizard->Object("TabControlMain")["selected"].str();
    }
  }
  EXPECT_EQ(selected, "TabItem02ChoosePath");
  wizard->Do("answer yes");
  wizard->Write("close\n");
  EXPECT_EQ(wizard->Finish(), 2);
}

TEST(WizardDisplayTest, WithoutAPrefixTheFatalMessageShowsInAMessageBoxToo) {
  if (!fs::exists("/usr/bin/Xvfb") || !fs::exists("/usr/bin/xdotool") ||
      !fs::exists("/usr/bin/xwininfo")) {
    GTEST_SKIP() << "Xvfb, xdotool and xwininfo are needed (scripts/deps.sh installs them)";
  }
  XServer server;
  ASSERT_TRUE(server.ready()) << "Xvfb did not start on " << server.display();
  test::WizardWorld world;
  world.AddTilePackages(1);
  world.Build();
  const std::string missing = (world.Root() / "no-prefix").string();
  pid_t pid = 0;
  const std::string prefixVariable = "WINEPREFIX=" + missing;
  const std::string displayVariable = "DISPLAY=" + server.display();
  std::vector<char*> environment;
  for (char** entry = environ; *entry; ++entry) environment.push_back(*entry);
  environment.push_back(const_cast<char*>(prefixVariable.c_str()));
  environment.push_back(const_cast<char*>(displayVariable.c_str()));
  environment.push_back(nullptr);
  const char* argv[] = {world.Installer().c_str(), nullptr};
  ASSERT_EQ(::posix_spawn(&pid, world.Installer().c_str(), nullptr, nullptr,
                          const_cast<char**>(argv), environment.data()),
            0);
  std::string box;
  for (int attempt = 0; attempt < 100 && box.empty(); ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    box = WindowNamed(server.display(), "Database Installer");
  }
  EXPECT_FALSE(box.empty()) << "no message box on " << server.display();
  int status = 0;
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (!box.empty()) Xdotool(server.display(), {"key", "--window", box, "Return"});
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (::waitpid(pid, &status, WNOHANG) == pid) break;
    if (attempt == 49) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
    }
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3);
  EXPECT_FALSE(fs::exists(missing));
}

TEST(WizardDisplayTest, ASilentRunShowsItsProgressInASmallWindowThatClosesByItself) {
  if (!fs::exists("/usr/bin/Xvfb") || !fs::exists("/usr/bin/xwininfo")) {
    GTEST_SKIP() << "Xvfb and xwininfo are needed (scripts/deps.sh installs them)";
  }
  XServer server;
  ASSERT_TRUE(server.ready()) << "Xvfb did not start on " << server.display();
  test::WizardWorld world;
  world.AddPrograms(1);
  test::ArchiveFiles files;
  for (int i = 0; i < 600; ++i) files.push_back({"Many/" + std::to_string(i) + ".jpg", "picture"});
  world.AddPackage(
      "Many", "[info]\r\nBAZA=Many\r\n[INSTALL]\r\nTYPE=INTERIOR\r\nTARGETNAME=Many\r\n", files);
  world.Build();
  const std::string prefixVariable = "WINEPREFIX=" + world.Prefix();
  const std::string displayVariable = "DISPLAY=" + server.display();
  std::vector<char*> environment;
  for (char** entry = environ; *entry; ++entry) environment.push_back(*entry);
  environment.push_back(const_cast<char*>(prefixVariable.c_str()));
  environment.push_back(const_cast<char*>(displayVariable.c_str()));
  environment.push_back(nullptr);
  const char* argv[] = {world.Installer().c_str(), "-s", nullptr};
  pid_t pid = 0;
  ASSERT_EQ(::posix_spawn(&pid, world.Installer().c_str(), nullptr, nullptr,
                          const_cast<char**>(argv), environment.data()),
            0);
  bool seen = false;
  int status = 0;
  for (int attempt = 0; attempt < 2400; ++attempt) {
    seen = seen || !WindowNamed(server.display(), "Installation of a database").empty();
    if (::waitpid(pid, &status, WNOHANG) == pid) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  EXPECT_TRUE(seen) << "no window of the silent run on " << server.display();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_TRUE(fs::exists(world.HostPath(test::kOrvane + "dodatki\\Many\\Many\\599.jpg")));
}

}  // namespace
}  // namespace dbinst
