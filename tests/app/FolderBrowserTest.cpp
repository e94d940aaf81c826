#include "app/FolderBrowser.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Machine.h"
#include "tests/app/ShippedTexts.h"
#include "tests/support/EnginePrefix.h"
#include "tests/support/TempPrefix.h"
#include "tests/ui/HeadlessUi.h"
#include "ui/TvgControls.h"
#include "ui/TvgText.h"
#include "ui/TvgTreeView.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;

class FolderBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(fs::path(prefix.driveC()) / "Velmora/Orvane 2");
    machine = prefix.OpenMachine();
    browser = std::make_unique<TFolderBrowser>(*machine, test::ShippedTexts("lang0"));
  }
  // Opens the browser with a script that answers it; the chosen folder, or "cancelled".
  std::string Browse(const std::string& script, const std::string& start) {
    ui.StartScript(script);
    std::string chosen;
    const bool confirmed = browser->Execute("Proszę wybrać katalog", start, chosen);
    return confirmed ? chosen : "cancelled";
  }

  test::HeadlessUi ui;
  test::TempPrefix prefix;
  std::unique_ptr<Machine> machine;
  std::unique_ptr<TFolderBrowser> browser;
};

TEST_F(FolderBrowserTest, OpensAtTheStartFolderWithItsTextsAndReturnsWhatIsConfirmed) {
  EXPECT_EQ(Browse("click ButtonOk\n", "C:\\Velmora\\"), "C:\\Velmora\\");
  EXPECT_EQ(browser->Object<TvgText>("TextWindowTitle").Text(), "Przeglądaj");
  EXPECT_EQ(browser->Object<TvgButton>("ButtonCancel").Text(), "Anuluj");
  EXPECT_EQ(browser->Object<TvgButton>("ButtonNewFolder").Text(), "Nowy folder");
  EXPECT_EQ(browser->Object<TvgText>("TextCaption").Text(), "Proszę wybrać katalog");
  ASSERT_NE(ScriptedDialog::Of(*browser), nullptr);
  EXPECT_EQ(ScriptedDialog::Of(*browser)->Kind(), "browse");
  EXPECT_FALSE(browser->Shown());
}

TEST_F(FolderBrowserTest, ScriptedAnswersCancelOrSelectAnExistingFolder) {
  EXPECT_EQ(Browse("browse cancel\n", "C:\\Velmora\\"), "cancelled");
  // The folder comes back spelled as the disk spells it.
  EXPECT_EQ(Browse("browse c:\\velmora\\orvane 2\n", ""), "C:\\Velmora\\Orvane 2\\");
  // A folder that is not there is refused, and the browser waits for another answer.
  EXPECT_EQ(Browse("browse C:\\Nowhere\nbrowse cancel\n", ""), "cancelled");
  bool refused = false;
  for (const std::string& answer : ui.answers) refused |= answer.find("error") != std::string::npos;
  EXPECT_TRUE(refused);
}

TEST_F(FolderBrowserTest, NothingSelectedKeepsOkAndNewFolderDisabled) {
  EXPECT_EQ(Browse("browse cancel\n", ""), "cancelled");
  EXPECT_FALSE(browser->Object<TvgButton>("ButtonOk").Enabled());
  EXPECT_FALSE(browser->Object<TvgButton>("ButtonNewFolder").Enabled());
}

TEST_F(FolderBrowserTest, NewFolderIsMadeInTheSelectedOneWithAFreeName) {
  fs::create_directories(fs::path(prefix.driveC()) / "Velmora/Nowy folder");
  EXPECT_EQ(Browse("click ButtonNewFolder\nclick ButtonOk\n", "C:\\Velmora\\"),
            "C:\\Velmora\\Nowy folder (2)\\");
  EXPECT_TRUE(fs::is_directory(fs::path(prefix.driveC()) / "Velmora/Nowy folder (2)"));
}

TEST_F(FolderBrowserTest, FolderThatCannotBeMadeIsReportedAndNothingChanges) {
  const std::string parent = prefix.driveC() + "/Velmora";
  test::UnwritableFolder locked(parent);
  if (!locked.usable()) GTEST_SKIP() << "cannot make a folder unwritable here";
  EXPECT_EQ(Browse("click ButtonNewFolder\nclick ButtonOk\n", "C:\\Velmora\\"), "C:\\Velmora\\");
  const TvgText& error = browser->Object<TvgText>("TextError");
  EXPECT_TRUE(error.Visible());
  EXPECT_EQ(error.Text(), "Nie można utworzyć katalogu: C:\\Velmora\\Nowy folder");
}

TEST_F(FolderBrowserTest, ClickOnATreeRowSelectsAndOpensThatFolder) {
  fs::create_directories(fs::path(prefix.driveC()) / "Velmora/Orvane 2/Plytki");
  // Rows: C:\, Velmora, Orvane 2, windows, Z:\; a click on the third opens Orvane 2.
  EXPECT_EQ(Browse("tree TreeViewFolders 2\nclick ButtonOk\n", "C:\\Velmora\\"),
            "C:\\Velmora\\Orvane 2\\");
  const auto items = browser->Object<TvgTreeView>("TreeViewFolders").Items();
  EXPECT_NE(items[3]->Text().find("Plytki"), std::string::npos) << items[3]->Text();
}

TEST(FolderBrowserLayoutTest, AnInstallerWithoutTheBrowsersLayoutIsALoadErrorNamingIt) {
  test::EnginePrefix world;
  world.Open();
  try {
    TFolderBrowser browser(world.machine(), test::ShippedTexts("lang0"));
    FAIL() << "the browser loaded without its layout";
  } catch (const EFormLoadError& error) {
    EXPECT_NE(std::string(error.what()).find("TFORMFOLDERBROWSER"), std::string::npos)
        << error.what();
  }
}

}  // namespace
}  // namespace dbinst
