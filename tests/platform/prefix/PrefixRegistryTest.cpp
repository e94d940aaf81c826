#include "platform/prefix/PrefixRegistry.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <regex>

#include "platform/RegistryValue.h"
#include "platform/prefix/RegFileBuilder.h"
#include "tests/platform/prefix/ScratchFolder.h"
#include "tests/platform/prefix/SocketFile.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;
using test::FixturePath;
using test::ReadFile;
using test::WriteFile;

constexpr RegRoot kLM = RegRoot::LocalMachine;
constexpr RegRoot kCU = RegRoot::CurrentUser;
const std::string kScreenSaverOn = "\"ScreenSaveActive\"=\"1\"\n";
const std::string kScreenSaverOff = "\"ScreenSaveActive\"=\"0\"\n";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  return at == std::string::npos ? "<not found: " + from + ">" : text.replace(at, from.size(), to);
}

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return out;
}

std::string Text(const Registry& registry, RegRoot root, std::string_view path,
                 std::string_view name, RegView view = RegView::Wow32) {
  auto key = registry.OpenKey(root, path, view);
  if (!key) return "<no key>";
  auto value = key->ReadValue(name);
  return value ? RegValueText(*value).value_or("<not text>") : "<missing>";
}

// A copy of the prefix Wine 8.0 made, in a folder of its own.
class FreshPrefix : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"system.reg", "user.reg"}) {
      fs::copy_file(FixturePath(std::string("wine-8.0-fresh-prefix/") + name), prefix_ / name);
    }
    original_ = ReadFile(prefix_ / "user.reg");
  }

  std::unique_ptr<PrefixRegistry> Load() {
    std::string error;
    auto registry = PrefixRegistry::Load(prefix_.Path(), error);
    EXPECT_TRUE(registry) << error;
    return registry;
  }

  std::vector<std::string> TempFilesLeft() const {
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(prefix_.Path())) {
      const std::string name = entry.path().filename().string();
      if (name != "system.reg" && name != "user.reg") left.push_back(name);
    }
    return left;
  }

  test::ScratchFolder prefix_;
  std::string original_;
};

TEST_F(FreshPrefix, LoadsWithoutNotes) {
  auto registry = Load();
  EXPECT_TRUE(registry->Is64BitPrefix());
  EXPECT_TRUE(registry->TakeNotes().empty());
}

TEST_F(FreshPrefix, ThirtyTwoBitViewFindsKeysUnderWow6432Node) {
  auto registry = Load();
  auto installations = registry->OpenKey(kLM, "SOFTWARE\\VELMORA\\INSTALLATIONS");
  ASSERT_TRUE(installations);
  EXPECT_EQ(installations->ValueNames(), (std::vector<std::string>{"KS", "OV"}));
  EXPECT_EQ(installations->SubKeyNames(), (std::vector<std::string>{"Kestrio6", "Orvane2"}));
  EXPECT_EQ(Text(*registry, kLM, "\\software\\velmora\\installations\\orvane2", "path"),
            "C:\\Program Files (x86)\\Velmora\\Orvane 2");
  EXPECT_EQ(Text(*registry, kLM, "SOFTWARE\\VELMORA\\MAINPATHS", "RootPath"), "C:\\Velmora");
  // Wine keeps a 32-bit twin of this key holding only subkeys, so its values need the native view.
  const std::string currentVersion = "Software\\Microsoft\\Windows NT\\CurrentVersion";
  EXPECT_EQ(Text(*registry, kLM, currentVersion, "SystemRoot"), "<missing>");
  EXPECT_EQ(Text(*registry, kLM, currentVersion, "SystemRoot", RegView::Native), "C:\\windows");
  // Software\Probe64 has no 32-bit twin, so the 32-bit view falls through to it.
  EXPECT_EQ(Text(*registry, kLM, "Software\\Probe64", "Only64"), "sixty-four view");
}

TEST_F(FreshPrefix, NativeViewIsNotRedirected) {
  auto registry = Load();
  EXPECT_FALSE(registry->OpenKey(kLM, "SOFTWARE\\VELMORA", RegView::Native));
  EXPECT_EQ(Text(*registry, kLM, "Software\\Probe64", "Only64", RegView::Native),
            "sixty-four view");
  EXPECT_EQ(Text(*registry, kLM, "Software\\Wow6432Node\\VELMORA\\MAINPATHS", "RootPath",
                 RegView::Native),
            "C:\\Velmora");
}

TEST_F(FreshPrefix, CurrentUserReadsValuesInRegistryOrder) {
  auto registry = Load();
  auto orvane = registry->OpenKey(kCU, "Software\\VELMORA\\ORVANE\\INSTALLATIONS");
  ASSERT_TRUE(orvane);
  std::vector<double> days;
  for (const std::string& name : orvane->ValueNames()) {
    days.push_back(RegValueDouble(*orvane->ReadValue(name)).value_or(-1));
  }
  EXPECT_EQ(orvane->ValueNames(),
            (std::vector<std::string>{"C:\\Orvane 1.5", "C:\\Orvane 1.7", "D:\\Stare\\Orvane"}));
  EXPECT_EQ(days, (std::vector<double>{20110512.5, 20130101.0, 20130101.0}));
  EXPECT_EQ(Text(*registry, kCU, "Software\\VELMORA\\ORVANE2", "runfrom"),
            "C:\\Program Files (x86)\\Velmora\\Orvane 2");
  EXPECT_EQ(Text(*registry, kCU, "Environment", "TEMP"), "C:\\users\\root\\Temp");
  EXPECT_TRUE(orvane->ValueExists("c:\\orvane 1.7"));
  EXPECT_FALSE(orvane->ValueExists("C:\\Orvane 2"));
}

TEST_F(FreshPrefix, FollowsLinks) {
  auto registry = Load();
  auto link = registry->OpenKey(kLM, "Software\\Wow6432Node\\Classes", RegView::Native);
  auto target = registry->OpenKey(kLM, "Software\\Classes\\Wow6432Node", RegView::Native);
  ASSERT_TRUE(link);
  ASSERT_TRUE(target);
  EXPECT_EQ(link->SubKeyNames(), target->SubKeyNames());
  EXPECT_FALSE(link->ValueExists("SymbolicLinkValue"));
  // The 32-bit view of Software\Classes goes through that link, and AppId links back again.
  auto clsid = registry->OpenKey(kLM, "Software\\Classes\\CLSID");
  auto clsid32 = registry->OpenKey(kLM, "Software\\Classes\\Wow6432Node\\CLSID", RegView::Native);
  ASSERT_TRUE(clsid);
  EXPECT_EQ(clsid->SubKeyNames(), clsid32->SubKeyNames());
  auto appId = registry->OpenKey(kLM, "Software\\Classes\\Wow6432Node\\AppId", RegView::Native);
  auto appId64 = registry->OpenKey(kLM, "Software\\Classes\\AppId", RegView::Native);
  ASSERT_TRUE(appId);
  EXPECT_EQ(appId->SubKeyNames(), appId64->SubKeyNames());
}

TEST_F(FreshPrefix, AnswersTheProcessorKeyWineMakesAtRunTime) {
  auto registry = Load();
  auto processors = registry->OpenKey(kLM, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor");
  ASSERT_TRUE(processors);
  EXPECT_EQ(processors->SubKeyNames(), (std::vector<std::string>{"0"}));
  auto cpu = registry->OpenKey(kLM, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0");
  ASSERT_TRUE(cpu);
  EXPECT_EQ(cpu->ReadValue("ProcessorNameString")->type, kRegSz);
  EXPECT_TRUE(RegValueInteger(*cpu->ReadValue("~MHz")));
  const std::string identifier = *RegValueText(*cpu->ReadValue("Identifier"));
  EXPECT_TRUE(std::regex_match(
      identifier, std::regex("(AMD64|Intel64|x86) Family \\d+ Model \\d+ Stepping \\d+")))
      << identifier;
  EXPECT_TRUE(cpu->ValueExists("VendorIdentifier"));
}

TEST_F(FreshPrefix, WritesTheOneValueChangingOnlyItsLine) {
  fs::permissions(prefix_ / "user.reg", fs::perms(0640));
  auto registry = Load();
  ASSERT_TRUE(registry->WriteString(kCU, "Control Panel\\Desktop", "ScreenSaveActive", "0"));
  EXPECT_EQ(ReadFile(prefix_ / "user.reg"), Replaced(original_, kScreenSaverOn, kScreenSaverOff));
  EXPECT_EQ(fs::status(prefix_ / "user.reg").permissions(), fs::perms(0640));
  EXPECT_EQ(Text(*registry, kCU, "Control Panel\\Desktop", "ScreenSaveActive"), "0");
  EXPECT_TRUE(TempFilesLeft().empty());
  EXPECT_EQ(Text(*Load(), kCU, "control panel\\desktop", "screensaveactive"), "0");
}

TEST_F(FreshPrefix, KeepsCrLfLineEnds) {
  WriteFile(prefix_ / "user.reg", WithCrLf(original_));
  auto registry = Load();
  EXPECT_TRUE(registry->TakeNotes().empty());
  ASSERT_TRUE(registry->WriteString(kCU, "Control Panel\\Desktop", "ScreenSaveActive", "0"));
  EXPECT_EQ(ReadFile(prefix_ / "user.reg"),
            WithCrLf(Replaced(original_, kScreenSaverOn, kScreenSaverOff)));
}

TEST_F(FreshPrefix, WritesNothingWhenTheValueAlreadyReadsZero) {
  WriteFile(prefix_ / "user.reg", Replaced(original_, kScreenSaverOn, kScreenSaverOff));
  struct stat before {};
  ::stat((prefix_ / "user.reg").c_str(), &before);
  auto registry = Load();
  ASSERT_TRUE(registry->WriteString(kCU, "Control Panel\\Desktop", "ScreenSaveActive", "0"));
  struct stat after {};
  ::stat((prefix_ / "user.reg").c_str(), &after);
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
}

TEST_F(FreshPrefix, AddsAMissingValueAfterTheSectionHead) {
  const std::string head = "[Control Panel\\\\Desktop] 1796768615\n#time=1dd8762c3fc84ce\n";
  const std::string withoutValue = Replaced(original_, kScreenSaverOn, "");
  WriteFile(prefix_ / "user.reg", withoutValue);
  auto registry = Load();
  ASSERT_TRUE(registry->WriteString(kCU, "Control Panel\\Desktop", "ScreenSaveActive", "0"));
  EXPECT_EQ(ReadFile(prefix_ / "user.reg"), Replaced(withoutValue, head, head + kScreenSaverOff));
}

TEST_F(FreshPrefix, AppendsASectionForAMissingKey) {
  const size_t start = original_.find("\n[Control Panel\\\\Desktop] ");
  const size_t end = original_.find("\n\n", start + 1);
  const std::string withoutKey = original_.substr(0, start) + original_.substr(end);
  WriteFile(prefix_ / "user.reg", withoutKey);
  auto registry = Load();
  EXPECT_EQ(Text(*registry, kCU, "Control Panel\\Desktop", "ScreenSaveActive"), "<missing>");
  ASSERT_TRUE(registry->WriteString(kCU, "Control Panel\\Desktop", "ScreenSaveActive", "0"));
  const std::string written = ReadFile(prefix_ / "user.reg");
  ASSERT_EQ(written.substr(0, withoutKey.size()), withoutKey);
  EXPECT_TRUE(std::regex_match(written.substr(withoutKey.size()),
                               std::regex("\n\\[Control Panel\\\\\\\\Desktop\\] \\d+\n"
                                          "#time=[0-9a-f]+\n\"ScreenSaveActive\"=\"0\"\n")))
      << written.substr(withoutKey.size());
  EXPECT_EQ(Text(*Load(), kCU, "Control Panel\\Desktop", "ScreenSaveActive"), "0");
}

TEST_F(FreshPrefix, WritesIntoTheFileALinkNames) {
  fs::rename(prefix_ / "user.reg", prefix_ / "real-user.reg");
  fs::create_symlink("real-user.reg", prefix_ / "user.reg");
  auto registry = Load();
  ASSERT_TRUE(registry->WriteString(kCU, "Control Panel\\Desktop", "ScreenSaveActive", "0"));
  EXPECT_TRUE(fs::is_symlink(prefix_ / "user.reg"));
  EXPECT_EQ(ReadFile(prefix_ / "real-user.reg"),
            Replaced(original_, kScreenSaverOn, kScreenSaverOff));
}

TEST_F(FreshPrefix, ReadOnlyFolderFailsAndLeavesTheFileIntact) {
  auto registry = Load();
  fs::permissions(prefix_.Path(), fs::perms(0555));
  // Root writes into any folder, so the write runs as an ordinary user in a child process.
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0) {
      const passwd* nobody = ::getpwnam("nobody");
      if (!nobody || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0) ::_exit(3);
    }
    const bool wrote =
        registry->WriteString(kCU, "Control Panel\\Desktop", "ScreenSaveActive", "0");
    const auto notes = registry->TakeNotes();
    ::_exit(!wrote && notes.size() == 1 ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  fs::permissions(prefix_.Path(), fs::perms(0755));
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadFile(prefix_ / "user.reg"), original_);
  EXPECT_TRUE(TempFilesLeft().empty());
}

TEST_F(FreshPrefix, RefusesToRewriteAFileItCannotFullyRead) {
  const std::string broken = original_ + "\n[Broken\\\\Key 1\n\"x\"=\"y\"\n";
  WriteFile(prefix_ / "user.reg", broken);
  auto registry = Load();
  EXPECT_FALSE(registry->TakeNotes().empty());
  EXPECT_FALSE(registry->WriteString(kCU, "Control Panel\\Desktop", "ScreenSaveActive", "0"));
  EXPECT_EQ(ReadFile(prefix_ / "user.reg"), broken);
  const auto notes = registry->TakeNotes();
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].find("user.reg:"), std::string::npos) << notes[0];
  EXPECT_EQ(Text(*registry, kCU, "Control Panel\\Desktop", "ScreenSaveActive"), "1");
}

TEST_F(FreshPrefix, WritesOnlyTheCurrentUser) {
  auto registry = Load();
  EXPECT_FALSE(registry->WriteString(kLM, "Software\\Probe64", "Only64", "0"));
  EXPECT_EQ(registry->TakeNotes().size(), 1u);
  EXPECT_EQ(ReadFile(prefix_ / "system.reg"),
            ReadFile(FixturePath("wine-8.0-fresh-prefix/system.reg")));
}

TEST_F(FreshPrefix, NotesARunningWineServerAndStillWrites) {
  test::ScratchFolder server;
  test::SocketFile socket(server / "socket");
  ASSERT_TRUE(socket.Bound());
  WriteFile(prefix_ / "wineserver", server.Path());
  auto registry = Load();
  ASSERT_TRUE(registry->WriteString(kCU, "Control Panel\\Desktop", "ScreenSaveActive", "0"));
  const auto notes = registry->TakeNotes();
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_NE(notes[0].find("Wine server is running"), std::string::npos) << notes[0];
  EXPECT_TRUE(registry->TakeNotes().empty());
  EXPECT_EQ(ReadFile(prefix_ / "user.reg"), Replaced(original_, kScreenSaverOn, kScreenSaverOff));
}

TEST(PrefixRegistry, FailsClearlyWithoutSystemReg) {
  test::ScratchFolder prefix;
  std::string error;
  EXPECT_FALSE(PrefixRegistry::Load(prefix.Path(), error));
  EXPECT_EQ(error, prefix.Path() + "/system.reg: no such file");
}

TEST(PrefixRegistry, LoadsWithoutUserRegWithANote) {
  test::ScratchFolder prefix;
  RegFileBuilder(RegRoot::LocalMachine, true).WriteTo(prefix / "system.reg");
  std::string error;
  auto registry = PrefixRegistry::Load(prefix.Path(), error);
  ASSERT_TRUE(registry);
  EXPECT_FALSE(registry->OpenKey(kCU, "Software"));
  ASSERT_EQ(registry->TakeNotes().size(), 1u);
  EXPECT_FALSE(registry->WriteString(kCU, "Control Panel\\Desktop", "ScreenSaveActive", "0"));
  EXPECT_FALSE(fs::exists(prefix / "user.reg"));
}

// A prefix written by the builder, for cases the Wine-made one does not hold.
class BuiltPrefix : public ::testing::Test {
 protected:
  std::unique_ptr<PrefixRegistry> Load(RegFileBuilder& machine, RegFileBuilder& user) {
    machine.WriteTo(prefix_ / "system.reg");
    user.WriteTo(prefix_ / "user.reg");
    std::string error;
    auto registry = PrefixRegistry::Load(prefix_.Path(), error);
    EXPECT_TRUE(registry) << error;
    return registry;
  }
  test::ScratchFolder prefix_;
};

TEST_F(BuiltPrefix, NothingIsRedirectedOnAThirtyTwoBitPrefixOrInCurrentUser) {
  RegFileBuilder machine(RegRoot::LocalMachine, false);
  machine.SetValue("Software\\Wow6432Node\\Only32", "v", MakeRegText("x"));
  RegFileBuilder user(RegRoot::CurrentUser, false);
  user.SetValue("Software\\Wow6432Node\\OnlyUser", "v", MakeRegText("x"));
  auto registry = Load(machine, user);
  EXPECT_FALSE(registry->Is64BitPrefix());
  EXPECT_FALSE(registry->OpenKey(kLM, "Software\\Only32"));
  EXPECT_FALSE(registry->OpenKey(kCU, "Software\\OnlyUser"));
}

TEST_F(BuiltPrefix, RedirectionPrefersTheThirtyTwoBitKeyComponentByComponent) {
  RegFileBuilder machine(RegRoot::LocalMachine, true);
  machine.SetValue("Software\\Both", "v", MakeRegText("64"));
  machine.SetValue("Software\\Wow6432Node\\Both", "v", MakeRegText("32"));
  RegFileBuilder user(RegRoot::CurrentUser, true);
  user.SetValue("Software\\Wow6432Node\\Both", "v", MakeRegText("32"));
  user.SetValue("Software\\Both", "v", MakeRegText("user"));
  auto registry = Load(machine, user);
  EXPECT_EQ(Text(*registry, kLM, "Software\\Both", "v"), "32");
  EXPECT_EQ(Text(*registry, kLM, "Software\\Both", "v", RegView::Native), "64");
  EXPECT_EQ(Text(*registry, kCU, "Software\\Both", "v"), "user");
}

TEST_F(BuiltPrefix, LoopingAndDanglingLinksOpenAsAbsent) {
  RegFileBuilder machine(RegRoot::LocalMachine, true);
  machine.AddLink("Loop\\A", "Loop\\B");
  machine.AddLink("Loop\\B", "Loop\\A");
  machine.AddLink("Self", "Self");
  machine.AddLink("Dangling", "Nowhere\\At\\All");
  machine.AddLink("Foreign", "\\Registry\\User\\S-1-5-18\\Software");
  machine.AddLink("ToUser", "\\Registry\\User\\S-1-5-21-0-0-0-1000\\Software");
  machine.AddLink("Chain\\1", "Chain\\2");
  machine.AddLink("Chain\\2", "Target");
  machine.SetValue("Target\\Inner", "v", MakeRegText("reached"));
  machine.AddKey("NoValue");
  RegFileBuilder user(RegRoot::CurrentUser, true);
  user.SetValue("Software\\Here", "v", MakeRegText("user"));
  WriteFile(prefix_ / "extra", "");
  auto registry = Load(machine, user);
  for (const char* absent : {"Loop\\A", "Loop\\B\\X", "Self", "Dangling", "Foreign"}) {
    EXPECT_FALSE(registry->OpenKey(kLM, absent)) << absent;
  }
  EXPECT_EQ(Text(*registry, kLM, "Chain\\1\\Inner", "v"), "reached");
  EXPECT_EQ(Text(*registry, kLM, "ToUser\\Here", "v"), "user");
}

TEST_F(BuiltPrefix, ProcessorKeyInTheFileWins) {
  RegFileBuilder machine(RegRoot::LocalMachine, true);
  const std::string path = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
  machine.SetValue(path, "ProcessorNameString", MakeRegText("From the file"));
  RegFileBuilder user(RegRoot::CurrentUser, true);
  auto registry = Load(machine, user);
  EXPECT_EQ(Text(*registry, kLM, path, "ProcessorNameString"), "From the file");
  EXPECT_FALSE(registry->OpenKey(kLM, path)->ValueExists("Identifier"));
}

TEST_F(BuiltPrefix, NotesNameTheFileAndLineAndAreHandedOutOnce) {
  RegFileBuilder machine(RegRoot::LocalMachine, true);
  machine.WriteTo(prefix_ / "system.reg");
  WriteFile(prefix_ / "user.reg", "WINE REGISTRY Version 2\n[A] 1\n\"x\"=\"unterminated\n");
  std::string error;
  auto registry = PrefixRegistry::Load(prefix_.Path(), error);
  ASSERT_TRUE(registry);
  const auto notes = registry->TakeNotes();
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0].rfind(prefix_ / "user.reg:3: ", 0), 0u) << notes[0];
  EXPECT_TRUE(registry->TakeNotes().empty());
  EXPECT_TRUE(registry->OpenKey(kCU, "A"));
}

}  // namespace
}  // namespace dbinst
