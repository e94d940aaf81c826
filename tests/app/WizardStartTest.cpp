#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/Registry.h"
#include "platform/RegistryValue.h"
#include "platform/Resources.h"
#include "platform/prefix/PrefixRegistry.h"
#include "tests/app/WizardWorld.h"
#include "tests/support/ElfFiles.h"
#include "tests/support/RunProcess.h"
#include "tests/support/TempPrefix.h"
#include "ui/FormStreamReader.h"
#include "ui/FormStreamWriter.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;
using test::MainObject;

std::string Text(const test::JsonValue& dump, const std::string& name) {
  return MainObject(dump, name)["text"].str();
}
bool Visible(const test::JsonValue& dump, const std::string& name) {
  return MainObject(dump, name)["visible"].boolean();
}

TEST(WizardStartTest, InstallerWithoutDatabasesEndsWithCode3BeforeAnyWindow) {
  test::WizardWorld world;
  world.AddPrograms(1);
  world.Build();
  const auto result = test::RunProcess(world.Installer(), {},
                                       {"WINEPREFIX=" + world.Prefix(), "DBINST_HEADLESS=1",
                                        "DBINST_SCRIPT=/dev/null", "DISPLAY=", "WAYLAND_DISPLAY="});
  EXPECT_EQ(result.exitCode, 3) << result.out;
  EXPECT_NE(result.err.find("Installer does not contain any databases"), std::string::npos)
      << result.err;
  EXPECT_EQ(result.out.find("FormMainDbInstall"), std::string::npos) << result.out;
}

TEST(WizardStartTest, HelperLibraryThatCannotBeWrittenEndsWithCode3) {
  test::WizardWorld world;
  world.AddPrograms(1);
  world.AddTilePackages(1);
  world.Build();
  // A folder where the second library should be: the file cannot be created there.
  fs::create_directories(world.HostPath("C:\\windows\\syswow64\\cc3290mt.dll\\"));
  const auto result = test::RunProcess(
      world.Installer(), {},
      {"WINEPREFIX=" + world.Prefix(), "DBINST_HEADLESS=1", "DBINST_SCRIPT=/dev/null"});
  EXPECT_EQ(result.exitCode, 3);
  EXPECT_NE(result.err.find("Installer does not contain any databases"), std::string::npos);
}

TEST(WizardStartTest, MissingPrefixIsAFatalErrorWithCode3) {
  test::WizardWorld world;
  world.AddTilePackages(1);
  world.Build();
  const std::string missing = (world.Root() / "no-prefix").string();
  const auto result =
      test::RunProcess(world.Installer(), {}, {"WINEPREFIX=" + missing, "DBINST_HEADLESS=1"});
  EXPECT_EQ(result.exitCode, 3);
  EXPECT_NE(result.err.find(missing), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(missing));
}

bool RemoveObject(TFormObject& parent, const std::string& name) {
  auto& children = parent.children;
  const auto found = std::find_if(children.begin(), children.end(), [&](const TFormObject& child) {
    return child.objectName == name;
  });
  if (found != children.end()) {
    children.erase(found);
    return true;
  }
  return std::any_of(children.begin(), children.end(),
                     [&](TFormObject& child) { return RemoveObject(child, name); });
}

// Only the progress page shows the free space: without its text the wizard used to fail there,
// halfway through; it is refused when the window is built instead.
TEST(WizardStartTest, MainLayoutWithoutAnObjectTheWizardUsesEndsWithCode3AtStart) {
  test::TempPrefix prefix;
  const auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  const auto stream = machine->resources().Open("TFORMMAINDBINSTALL");
  ASSERT_NE(stream, nullptr);
  std::string bytes(static_cast<size_t>(stream->Size()), '\0');
  ASSERT_EQ(stream->Read(bytes.data(), stream->Size()), stream->Size());
  TFormObject layout = ReadFormStream(bytes);
  ASSERT_TRUE(RemoveObject(layout, "TextInstallDiskSpaceInfo"));

  test::WizardWorld world;
  const fs::path broken = world.Root() / "broken-main-form.bin";
  test::WriteWholeFile(broken, WriteFormStream(layout));
  world.AddPrograms(1);
  world.AddTilePackages(1);
  world.ReplaceResource("TFORMMAINDBINSTALL", broken.string());
  world.Build();
  const auto result = test::RunProcess(world.Installer(), {},
                                       {"WINEPREFIX=" + world.Prefix(), "DBINST_HEADLESS=1",
                                        "DBINST_SCRIPT=/dev/null", "DISPLAY=", "WAYLAND_DISPLAY="});
  EXPECT_EQ(result.exitCode, 3);
  EXPECT_NE(result.err.find("FormMainDbInstall: no object TextInstallDiskSpaceInfo"),
            std::string::npos)
      << result.err;
  EXPECT_EQ(result.out.find("FormMainDbInstall"), std::string::npos) << result.out;
}

TEST(WizardStartTest, ADescriptionWrittenInWindows1250KeepsItsLettersForAnEnglishUser) {
  test::WizardWorld world;
  world.AddPrograms(1);
  const std::string description =
      "[info]\r\nBAZA=Ceramika Parady\xBF 2013\r\n[INSTALL]\r\nTYPE=TILES\r\n"
      "TARGETNAME=Paradyz.mdb\r\n";
  world.AddPackage("Paradyz", description, {{"Paradyz.mdb", "tiles"}});
  world.Build();
  auto wizard = world.Start();
  EXPECT_EQ(Text(wizard->Dump(), "TextWelcomeHead"),
            "Welcome to The Installer of Ceramika Paradyż 2013 tile database.");
  wizard->Do("answer yes");
  wizard->Write("close\n");
  EXPECT_EQ(wizard->Finish(), 2);
}

TEST(WizardStartTest, ADescriptionRefusedAtStartLeavesNothingInTheTemporaryFolder) {
  test::WizardWorld world;
  world.AddPrograms(1);
  world.AddTilePackages(1);
  world.Build();
  world.UpdateResource("DB01INI", "[info]\r\nBAZA=Tiles 1\r\n");
  const auto result = test::RunProcess(world.Installer(), {},
                                       {"WINEPREFIX=" + world.Prefix(), "DBINST_HEADLESS=1",
                                        "DBINST_SCRIPT=/dev/null", "DISPLAY=", "WAYLAND_DISPLAY="});
  EXPECT_EQ(result.exitCode, 3);
  const fs::path temp = world.HostPath("C:\\users\\" + world.Builder().User() + "\\Temp");
  EXPECT_TRUE(fs::is_empty(temp)) << fs::directory_iterator(temp)->path();
}

TEST(WizardStartTest, OneDatabaseIsGreetedByNameWithTheSingularTitle) {
  test::WizardWorld world;
  world.AddPrograms(1);
  world.AddTilePackages(1);
  world.Build();
  auto wizard = world.Start();
  const test::JsonValue dump = wizard->Dump();
  EXPECT_EQ(Text(dump, "TextWindowTitle"), "Installation of a database");
  EXPECT_EQ(Text(dump, "TextWelcomeHead"), "Welcome to The Installer of Tiles 1 tile database.");
  for (int i = 1; i <= 6; ++i) EXPECT_FALSE(Visible(dump, "TextWelcomeDb0" + std::to_string(i)));
  EXPECT_EQ(MainObject(dump, "TabControlMain")["selected"].str(), "TabItem01Welcome");
  EXPECT_EQ(Text(dump, "ButtonMkay"), "Next >>");
  EXPECT_EQ(Text(dump, "ButtonExit"), "Cancel");
  for (const char* tab : {"TabItem01Welcome", "TabItem05Final"}) {
    EXPECT_NEAR(MainObject(dump, tab)["opacity"].number(), 0.01, 1e-4);
  }
  // The log of the start: the module's lines, then one line per drive letter from C to Z.
  const std::vector<std::string> log = wizard->Log();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.front().rfind("CPU: ", 0), 0u) << log.front();
  EXPECT_EQ(
      std::count_if(log.begin(), log.end(),
                    [](const std::string& line) { return line.rfind("Examining drive ", 0) == 0; }),
      24);
  wizard->Do("answer yes");
  wizard->Write("close\n");
  EXPECT_EQ(wizard->Finish(), 2);
}

TEST(WizardStartTest, ADebugRunNamesTheFaceTheLayoutsFontIsDrawnWith) {
  test::WizardWorld world;
  world.AddPrograms(1);
  world.AddTilePackages(1);
  world.Build();
  const std::string prefix = "Font: Microsoft Sans Serif is drawn as ";
  for (const bool debug : {false, true}) {
    auto wizard = world.Start({debug ? "DBINST_DEBUG=1" : "DBINST_DEBUG=0"});
    const std::vector<std::string> log = wizard->Log();
    const auto font = std::find_if(log.begin(), log.end(), [&](const std::string& line) {
      return line.rfind(prefix, 0) == 0;
    });
    if (debug) {
      ASSERT_NE(font, log.end());
      EXPECT_GT(font->size(), prefix.size()) << *font;
    } else {
      EXPECT_TRUE(font == log.end()) << *font;
    }
    wizard->Do("answer yes");
    wizard->Write("close\n");
    EXPECT_EQ(wizard->Finish(), 2);
  }
}

TEST(WizardStartTest, SixDatabasesAreListedAndSevenAreSummedUp) {
  for (const int count : {6, 7}) {
    test::WizardWorld world;
    world.Builder().Polish();
    world.AddPrograms(1);
    world.AddTilePackages(count);
    world.Build();
    auto wizard = world.Start();
    const test::JsonValue dump = wizard->Dump();
    EXPECT_EQ(Text(dump, "TextWindowTitle"), "Instalacja baz danych");
    EXPECT_EQ(Text(dump, "TextWelcomeHead"), "Witamy w Instalatorze baz danych:");
    EXPECT_EQ(Text(dump, "TextWelcomeDb05"), " - Baza płytek Tiles 5");
    EXPECT_TRUE(Visible(dump, "TextWelcomeDb06"));
    EXPECT_EQ(Text(dump, "TextWelcomeDb06"),
              count == 6 ? " - Baza płytek Tiles 6" : " - Oraz inne bazy (2)");
    EXPECT_EQ(Text(dump, "TextWelcomeFoot01"), "Bazy zostaną zainstalowane na Twoim komputerze.");
    wizard->Do("answer yes");
    wizard->Write("click ButtonExit\n");
    EXPECT_EQ(wizard->Finish(), 2) << count;
  }
}

TEST(WizardStartTest, RefusedCloseStaysOnTheWelcomePageAndLeavesTheScreenSaverOff) {
  test::WizardWorld world;
  world.AddPrograms(1);
  world.AddTilePackages(2);
  world.Build();
  auto wizard = world.Start();
  wizard->Do("answer no");
  wizard->Do("close");
  wizard->Do("answer close");
  wizard->Do("key Alt+F4");
  EXPECT_EQ(wizard->Object("TabControlMain")["selected"].str(), "TabItem01Welcome");
  wizard->Do("answer yes");
  wizard->Write("key Alt+F4\n");
  EXPECT_EQ(wizard->Finish(), 2);

  std::string error;
  const auto registry = PrefixRegistry::Load(world.Prefix(), error);
  ASSERT_TRUE(registry) << error;
  const auto key = registry->OpenKey(RegRoot::CurrentUser, "Control Panel\\Desktop");
  ASSERT_TRUE(key);
  EXPECT_EQ(RegValueText(*key->ReadValue("ScreenSaveActive")), "0");
}

}  // namespace
}  // namespace dbinst
