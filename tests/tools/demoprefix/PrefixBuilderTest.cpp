#include "tools/demoprefix/PrefixBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/RegistryValue.h"
#include "platform/VersionText.h"
#include "platform/prefix/PeFileVersionReader.h"
#include "platform/prefix/PrefixRegistry.h"
#include "platform/prefix/RegFile.h"
#include "tests/TempFolder.h"
#include "tests/platform/prefix/HostReadableFile.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;
using test::HostReadableFile;
using test::TempFolder;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class PrefixBuilderTest : public ::testing::Test {
 protected:
  std::unique_ptr<PrefixRegistry> Build(PrefixBuilder& builder) {
    std::string error;
    EXPECT_TRUE(builder.Build(error)) << error;
    auto registry = PrefixRegistry::Load(folder_.Path().string(), error);
    EXPECT_TRUE(registry) << error;
    return registry;
  }

  static std::string Text(const Registry& registry, RegRoot root, std::string_view key,
                          std::string_view name, RegView view = RegView::Wow32) {
    const auto opened = registry.OpenKey(root, key, view);
    if (!opened) return "<no key>";
    const auto value = opened->ReadValue(name);
    if (!value) return "<no value>";
    return RegValueText(*value).value_or("<not text>");
  }

  std::string VersionTextOf(const std::string& windowsPath) {
    auto file = HostReadableFile::Open(builder_.HostPath(windowsPath));
    if (!file) return "<no file>";
    const auto block = PeFileVersionReader::ReadVersionBlock(*file);
    return block ? FileVersionTextOf(*block) : "<no version>";
  }

  TempFolder folder_;
  PrefixBuilder builder_{folder_.Path().string()};
};

TEST_F(PrefixBuilderTest, FreshPrefixAnswersWindowsFactsAsWineWritesThem) {
  builder_.UserName("anna");
  const auto registry = Build(builder_);
  ASSERT_TRUE(registry);
  EXPECT_TRUE(registry->Is64BitPrefix());
  const std::string nt = "Software\\Microsoft\\Windows NT\\CurrentVersion";
  EXPECT_EQ(Text(*registry, RegRoot::LocalMachine, nt, "CurrentVersion", RegView::Native), "6.1");
  EXPECT_EQ(Text(*registry, RegRoot::LocalMachine, nt, "CurrentBuildNumber", RegView::Native),
            "7601");
  EXPECT_EQ(Text(*registry, RegRoot::LocalMachine, nt, "CSDVersion", RegView::Native),
            "Service Pack 1");
  EXPECT_EQ(Text(*registry, RegRoot::LocalMachine, nt, "SystemRoot", RegView::Native),
            "C:\\windows");
  EXPECT_EQ(Text(*registry, RegRoot::LocalMachine,
                 "System\\CurrentControlSet\\Control\\Nls\\CodePage", "ACP"),
            "1252");
  EXPECT_EQ(Text(*registry, RegRoot::CurrentUser, "Environment", "TEMP"), "C:\\users\\anna\\Temp");
  EXPECT_EQ(Text(*registry, RegRoot::CurrentUser, "Volatile Environment", "USERPROFILE"),
            "C:\\users\\anna");
  EXPECT_EQ(Text(*registry, RegRoot::CurrentUser, "Control Panel\\International", "Locale"),
            "00000409");
  EXPECT_EQ(Text(*registry, RegRoot::CurrentUser, "Control Panel\\Desktop", "ScreenSaveActive"),
            "1");

  const fs::path root = folder_.Path();
  for (const char* folder :
       {"drive_c/windows/system32", "drive_c/windows/syswow64", "drive_c/users/anna/Temp",
        "drive_c/Program Files", "drive_c/Program Files (x86)"})
    EXPECT_TRUE(fs::is_directory(root / folder)) << folder;
  EXPECT_EQ(fs::read_symlink(root / "dosdevices/c:"), "../drive_c");
  EXPECT_EQ(fs::read_symlink(root / "dosdevices/z:"), "/");
}

TEST_F(PrefixBuilderTest, RegistryFilesParseCleanlyWithWinesHeaders) {
  Build(builder_);
  const std::string fixtures = std::string(DBINST_TEST_FIXTURES) + "/wine-8.0-fresh-prefix/";
  for (const char* name : {"system.reg", "user.reg", "userdef.reg"}) {
    const std::string ours = ReadText(folder_.Path() / name);
    const std::string wines = ReadText(fixtures + name);
    const auto headerEnd = [](const std::string& text) { return text.find("\n\n") + 2; };
    EXPECT_EQ(ours.substr(0, headerEnd(ours)), wines.substr(0, headerEnd(wines))) << name;
    const RegFile parsed = RegFile::Parse(ours, name);
    EXPECT_EQ(parsed.ProblemCount(), 0u) << name;
  }
}

TEST_F(PrefixBuilderTest, MachineRegistrationsLandInThe32BitViewOnly) {
  builder_.AddProgram("OV", "C:\\Program Files (x86)\\Velmora\\Orvane 2")
      .RegisteredIn(RegRoot::LocalMachine, "Orvane2")
      .RunFrom();
  builder_.AddProgram("ovs ", "C:\\Selka\\").RegisteredIn(RegRoot::CurrentUser, "OrvaneSelka");
  const auto registry = Build(builder_);
  ASSERT_TRUE(registry);
  const std::string installations = "Software\\VELMORA\\INSTALLATIONS";
  EXPECT_EQ(Text(*registry, RegRoot::LocalMachine, installations, "OV"), "Orvane2");
  EXPECT_EQ(Text(*registry, RegRoot::LocalMachine, installations + "\\Orvane2", "PATH"),
            "C:\\Program Files (x86)\\Velmora\\Orvane 2");
  EXPECT_FALSE(registry->OpenKey(RegRoot::LocalMachine, installations, RegView::Native));
  EXPECT_EQ(Text(*registry, RegRoot::CurrentUser, installations, "OVS"), "OrvaneSelka");
  EXPECT_EQ(Text(*registry, RegRoot::CurrentUser, installations + "\\OrvaneSelka", "PATH"),
            "C:\\Selka");
  EXPECT_EQ(Text(*registry, RegRoot::CurrentUser, "Software\\VELMORA\\ORVANE2", "runfrom"),
            "C:\\Program Files (x86)\\Velmora\\Orvane 2");
}

TEST_F(PrefixBuilderTest, ProgramFilesCarryTheVersionsAsked) {
  builder_.AddProgram("KS", "C:\\Kestrio 6")
      .ExecutableVersion(" 6.2.0.15 ")
      .LibraryVersions("5.81", "2.0")
      .DatabaseFolders({"AGD", "Materialy"});
  builder_.AddProgram("OV", "C:\\Orvane")
      .Without("kafle.dll")
      .WithoutVersionResource("Manager.dll");
  Build(builder_);
  EXPECT_EQ(VersionTextOf("C:\\Kestrio 6\\Kestrio.exe"), "6.2.0.15");
  EXPECT_EQ(VersionTextOf("C:\\Kestrio 6\\Manager.dll"), "5.81");
  EXPECT_EQ(VersionTextOf("C:\\Kestrio 6\\kafle.dll"), "2.0");
  EXPECT_TRUE(fs::is_directory(builder_.HostPath("C:\\Kestrio 6\\AGD")));
  EXPECT_FALSE(fs::exists(builder_.HostPath("C:\\Kestrio 6\\Plytki")));
  EXPECT_EQ(VersionTextOf("C:\\Orvane\\Orvane.exe"), "2.0.0.0");
  EXPECT_EQ(VersionTextOf("C:\\Orvane\\Manager.dll"), "<no version>");
  EXPECT_EQ(VersionTextOf("C:\\Orvane\\kafle.dll"), "<no file>");
  EXPECT_TRUE(fs::is_directory(builder_.HostPath("C:\\Orvane\\Plytki")));
}

TEST_F(PrefixBuilderTest, PreviousInstallationsAreEightByteDoubles) {
  builder_.AddPreviousInstallation("ORVANE\\INSTALLATIONS", "C:\\Orvane 1.5", 20110512.5)
      .AddPreviousInstallation("ORVANE\\INSTALLATIONS", "D:\\Stare\\Orvane", 20130101.0);
  const auto registry = Build(builder_);
  ASSERT_TRUE(registry);
  const auto key =
      registry->OpenKey(RegRoot::CurrentUser, "Software\\VELMORA\\ORVANE\\INSTALLATIONS");
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ValueNames(), (std::vector<std::string>{"C:\\Orvane 1.5", "D:\\Stare\\Orvane"}));
  EXPECT_EQ(RegValueDouble(*key->ReadValue("C:\\Orvane 1.5")), 20110512.5);
  EXPECT_EQ(RegValueDouble(*key->ReadValue("D:\\Stare\\Orvane")), 20130101.0);
}

TEST_F(PrefixBuilderTest, PolishPrefixAndValuesSetByATestWin) {
  builder_.Polish().SetValue(RegRoot::CurrentUser, "Control Panel\\Desktop", "ScreenSaveActive",
                             MakeRegText("0"));
  const auto registry = Build(builder_);
  ASSERT_TRUE(registry);
  const std::string international = "Control Panel\\International";
  EXPECT_EQ(Text(*registry, RegRoot::CurrentUser, international, "Locale"), "00000415");
  EXPECT_EQ(Text(*registry, RegRoot::CurrentUser, international, "sDecimal"), ",");
  EXPECT_EQ(Text(*registry, RegRoot::CurrentUser, international, "sThousand"), "\u00A0");
  EXPECT_EQ(Text(*registry, RegRoot::LocalMachine,
                 "System\\CurrentControlSet\\Control\\Nls\\Codepage", "ACP"),
            "1250");
  EXPECT_EQ(Text(*registry, RegRoot::CurrentUser, "Control Panel\\Desktop", "ScreenSaveActive"),
            "0");
}

TEST_F(PrefixBuilderTest, OnlyPathsInsideDriveCAreWritten) {
  EXPECT_EQ(builder_.HostPath("c:\\Program Files\\x"),
            (folder_.Path() / "drive_c" / "Program Files" / "x").string());
  EXPECT_EQ(builder_.HostPath("D:\\x"), "");
  EXPECT_EQ(builder_.HostPath("C:\\a\\..\\..\\..\\etc"), "");
  EXPECT_EQ(builder_.HostPath("C:\\a/../../x"), "");
  builder_.AddProgram("OV", "Z:\\tmp\\Orvane");
  std::string error;
  EXPECT_FALSE(builder_.Build(error));
  EXPECT_NE(error.find("Z:\\tmp\\Orvane"), std::string::npos);
  EXPECT_THROW(builder_.AddProgram("XX", "C:\\x"), std::invalid_argument);
}

TEST(FixedVersionOfTest, ReadsUpToFourNumbersAndZeroForJunk) {
  EXPECT_EQ(FixedVersionOf("6.2.0.15"), (std::array<uint16_t, 4>{6, 2, 0, 15}));
  EXPECT_EQ(FixedVersionOf(" 5.81 "), (std::array<uint16_t, 4>{5, 81, 0, 0}));
  EXPECT_EQ(FixedVersionOf("2.x.70000.1.9"), (std::array<uint16_t, 4>{2, 0, 0, 1}));
  EXPECT_EQ(FixedVersionOf(""), (std::array<uint16_t, 4>{0, 0, 0, 0}));
}

}  // namespace
}  // namespace dbinst
