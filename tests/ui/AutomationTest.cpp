#include "ui/Automation.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/ProcessExit.h"
#include "tests/platform/prefix/ScratchFolder.h"
#include "tests/ui/HeadlessUi.h"
#include "tests/ui/TestForms.h"
#include "ui/TvgTreeView.h"

namespace dbinst {
namespace {

using test::HeadlessUi;
using test::TestForm;
using Lines = std::vector<std::string>;

const std::string kOk = "{\"ok\": true}";

// Width and height from a PNG file's header.
std::pair<int, int> PngSize(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  unsigned char header[24] = {};
  file.read(reinterpret_cast<char*>(header), sizeof header);
  const auto big = [&](int at) {
    return (header[at] << 24) | (header[at + 1] << 16) | (header[at + 2] << 8) | header[at + 3];
  };
  return {big(16), big(20)};
}

// A folder browser a script answers with a path or cancel.
class BrowseForm : public TvgForm {
 public:
  BrowseForm() {
    LoadLayout(CompileFormText(
        "object FormBrowse: TFormBrowse\n  ClientWidth = 200\n  ClientHeight = 100\n"
        "  object vgScene1: TvgScene\n  end\nend\n"));
  }
  std::string chosen;
  ScriptedDialog scripted{*this, "browse", [this](std::string_view answer, std::string&) {
                            chosen = std::string(answer);
                            Hide();
                            return true;
                          }};
};

class AutomationTest : public ::testing::Test {
 protected:
  AutomationTest() { form.Show(); }
  HeadlessUi ui;
  TestForm form;
};

TEST_F(AutomationTest, AClickGoesThroughTheInputPathAndIsAnsweredOnceItsHandlerReturned) {
  int clicksSeenByHandler = -1;
  form.onClick = [&] { clicksSeenByHandler = static_cast<int>(ui.answers.size()); };
  EXPECT_EQ(ui.Run("click ButtonOk\n"), Lines{kOk});
  EXPECT_EQ(form.clicks, 1);
  EXPECT_EQ(clicksSeenByHandler, 0);
}

TEST_F(AutomationTest, ClicksOnHiddenDisabledCoveredOrMissingObjectsAreRefusedAndChangeNothing) {
  const Lines answers = ui.Run(
      "click ButtonHidden\n"
      "click ButtonDisabled\n"
      "click ButtonCovered\n"
      "click ButtonNowhere\n"
      "click TextTitle\n");
  EXPECT_EQ(answers, (Lines{"{\"error\": \"ButtonHidden is hidden\"}",
                            "{\"error\": \"ButtonDisabled is disabled\"}",
                            "{\"error\": \"ButtonCovered is covered by PanelOver\"}",
                            "{\"error\": \"no shown window has an object named ButtonNowhere\"}",
                            "{\"error\": \"TextTitle takes no clicks\"}"}));
  EXPECT_EQ(form.clicks, 0);
  form.Hide();
  EXPECT_EQ(ui.Run("click ButtonOk\n"),
            Lines{"{\"error\": \"no shown window has an object named ButtonOk\"}"});
}

TEST_F(AutomationTest, TreeClicksTheCheckBoxOfTheItemAtTheIndex) {
  EXPECT_EQ(ui.Run("tree TreeViewPaths 1\ntree TreeViewPaths 3\ntree TreeViewPaths x\n"),
            (Lines{kOk, "{\"error\": \"TreeViewPaths has 3 items\"}",
                   "{\"error\": \"tree needs an item index from 0\"}"}));
  const auto items = form.Object<TvgTreeView>("TreeViewPaths").Items();
  EXPECT_FALSE(items[0]->IsChecked());
  EXPECT_TRUE(items[1]->IsChecked());
  EXPECT_EQ(form.checkedItems, Lines{"ItemB"});
}

TEST_F(AutomationTest, KeysAndCloseGoToTheTopmostWindow) {
  form.allowClose = false;
  EXPECT_EQ(ui.Run("key Enter\nkey Alt+F4\nkey Escape\nclose\nkey F5\n"),
            (Lines{kOk, kOk, kOk, kOk, "{\"error\": \"unknown key: F5\"}"}));
  EXPECT_EQ(form.clicks, 1);
  EXPECT_EQ(form.closeQueries, 3);
  form.allowClose = true;
  EXPECT_EQ(ui.Run("close\nclose\n"), (Lines{kOk, "{\"error\": \"no window is shown\"}"}));
  EXPECT_FALSE(form.Shown());
}

TEST_F(AutomationTest, AQueuedAnswerIsTakenByTheNextQuestionAndTheClickAnswersAfterIt) {
  test::QuestionForm question;
  std::vector<int> asked;
  form.onClick = [&] { asked.push_back(question.Ask()); };
  EXPECT_EQ(ui.Run("answer yes\nanswer no\nclick ButtonOk\nclick ButtonOk\n"),
            (Lines{kOk, kOk, kOk, kOk}));
  EXPECT_EQ(asked, (std::vector<int>{1, 0}));
}

TEST_F(AutomationTest, AnAnswerArrivingWhileTheQuestionIsOpenIsTakenAtOnce) {
  test::QuestionForm question;
  int answer = -1;
  form.onClick = [&] { answer = question.Ask(); };
  // The click waits for the question, which only the next line answers: its ok comes last.
  EXPECT_EQ(ui.Run("click ButtonOk\nanswer yes\n"), (Lines{kOk, kOk}));
  EXPECT_EQ(answer, 1);
  EXPECT_FALSE(question.Shown());
}

TEST_F(AutomationTest, ClicksOnAWindowBehindAModalOneAreRefused) {
  test::QuestionForm question;
  form.onClick = [&] { question.Ask(); };
  const Lines answers = ui.Run("click ButtonOk\nclick RadioButtonOne\nanswer no\n");
  EXPECT_EQ(answers,
            (Lines{"{\"error\": \"FormTest waits for the modal window FormQuestion\"}", kOk, kOk}));
  EXPECT_EQ(form.clicks, 1);
}

TEST_F(AutomationTest, AnAnswerThatDoesNotFitTheDialogIsReportedByTheCommandThatOpenedIt) {
  test::QuestionForm question;
  form.onClick = [&] { question.Ask(); };
  const Lines answers = ui.Run("answer ok\nclick ButtonOk\nanswer maybe\nanswer no\n");
  EXPECT_EQ(answers[0], kOk);
  EXPECT_EQ(answers[1], "{\"error\": \"answer takes yes, no, ok or close\"}");
  EXPECT_EQ(answers[2], kOk);
  EXPECT_EQ(answers[3],
            "{\"error\": \"FormQuestion refused the answer ok: a question takes yes, no or "
            "close\"}");
}

TEST_F(AutomationTest, BrowseAnswersGoOnlyToTheFolderBrowserAndMessageAnswersOnlyToQuestions) {
  BrowseForm browser;
  test::QuestionForm question;
  int asked = -1;
  form.onClick = [&] {
    browser.ShowModal();
    asked = question.Ask();
  };
  EXPECT_EQ(ui.Run("answer yes\nbrowse C:\\Program Files\\Orvane\nclick ButtonOk\n"),
            (Lines{kOk, kOk, kOk}));
  EXPECT_EQ(browser.chosen, "C:\\Program Files\\Orvane");
  EXPECT_EQ(asked, 1);
}

TEST_F(AutomationTest, AModalWindowThatOffersNoScriptedAnswersLeavesTheQueuedOneToTheNextDialog) {
  TestForm plain;
  test::QuestionForm question;
  EXPECT_EQ(ScriptedDialog::Of(plain), nullptr);
  int asked = -1;
  form.onClick = [&] {
    plain.ShowModal();
    asked = question.Ask();
  };
  EXPECT_EQ(ui.Run("answer yes\nclick ButtonOk\nkey Escape\n"), (Lines{kOk, kOk, kOk}));
  EXPECT_EQ(plain.closeQueries, 1);
  EXPECT_EQ(asked, 1);
}

TEST_F(AutomationTest, EscapeGoesToTheModalWindowAndClosesItWithoutAnAnswer) {
  test::QuestionForm question;
  int asked = -1;
  form.onClick = [&] { asked = question.Ask(); };
  EXPECT_EQ(ui.Run("click ButtonOk\nkey Escape\n"), (Lines{kOk, kOk}));
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(form.closeQueries, 0);
  EXPECT_TRUE(form.Shown());
}

TEST_F(AutomationTest, WaitFiresTheTimersOnTheVirtualClock) {
  EXPECT_EQ(ui.Run("wait 1000\nwait -5\nwait\n"),
            (Lines{kOk, "{\"error\": \"wait takes milliseconds, 0 to 86400000\"}",
                   "{\"error\": \"wait needs an argument\"}"}));
  EXPECT_EQ(form.ticks, 4);
}

TEST_F(AutomationTest, DumpListsTheNamedObjectsOfTheShownWindows) {
  const Lines answers = ui.Run("dump\n");
  ASSERT_EQ(answers.size(), 1u);
  const std::string& dump = answers[0];
  EXPECT_EQ(dump.rfind("{\"windows\": {\"FormTest\": {\"vgScene1\": {\"class\": \"TvgScene\"", 0),
            0u);
  EXPECT_NE(dump.find("\"TextTitle\": {\"class\": \"TvgText\", \"text\": \"Tytuł\", \"visible\": "
                      "true, \"enabled\": true, \"opacity\": 1, \"color\": \"#FF000000\", "
                      "\"fontStyle\": \"bold\"}"),
            std::string::npos);
  EXPECT_NE(dump.find("\"ButtonHidden\": {\"class\": \"TvgButton\", \"text\": \"\", \"visible\": "
                      "false, \"enabled\": true"),
            std::string::npos);
  EXPECT_NE(dump.find("\"min\": 0, \"max\": 100, \"value\": 40}"), std::string::npos);
  EXPECT_NE(dump.find("\"checked\": true}"), std::string::npos);
  EXPECT_NE(dump.find("\"selected\": \"TabItem02\"}"), std::string::npos);
  EXPECT_NE(dump.find("\"items\": [{\"text\": \"C:\\\\Program Files\\\\Orvane\", \"checked\": "
                      "false, \"selected\": false}, {\"text\": \"D:\\\\Kestrio\""),
            std::string::npos);
  form.Hide();
  EXPECT_EQ(ui.Run("dump\n"), Lines{"{\"windows\": {}}"});
}

TEST_F(AutomationTest, TheDumpOfAWindowKeepsItsShapeByteForByte) {
  const std::string expected = test::ReadFile(test::FixturePath("dumps/test-window.json"));
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(ui.Run("dump\n"), Lines{expected});
}

TEST_F(AutomationTest, LogAnswersTheLinesOfTheLogSource) {
  EXPECT_EQ(ui.Run("log\n"), Lines{"{\"log\": []}"});
  HeadlessUi::App().SetLogSource([] { return Lines{"Język: lang0", "Dysk \"C\""}; });
  EXPECT_EQ(ui.Run("log\n"), Lines{"{\"log\": [\"Język: lang0\", \"Dysk \\\"C\\\"\"]}"});
  HeadlessUi::App().SetLogSource(nullptr);
}

TEST_F(AutomationTest, SnapshotWritesAPngOfTheTopmostWindowAtItsScale) {
  HeadlessUi::App().UseDisplay(std::make_unique<HeadlessDisplay>(1.25f));
  form.Show();
  const std::string path = ui.File("page one.png");
  EXPECT_EQ(ui.Run("snapshot " + path + "\nsnapshot /nonexistent/folder/x.png\n")[0], kOk);
  EXPECT_EQ(PngSize(path), (std::pair<int, int>{375, 250}));
  EXPECT_EQ(ui.answers[1].rfind("{\"error\": \"cannot write /nonexistent/folder/x.png", 0), 0u);
}

TEST_F(AutomationTest, UnknownCommandsAndBadArgumentsAreErrorsCommentsAndBlankLinesAreSkipped) {
  EXPECT_EQ(
      ui.Run("# a comment\n\njump\nclick\ndump now\n  click   ButtonOk  \n"),
      (Lines{"{\"error\": \"unknown command: jump\"}", "{\"error\": \"click needs an argument\"}",
             "{\"error\": \"dump takes none\"}", kOk}));
}

TEST_F(AutomationTest, ACommandThatEndsTheProcessIsAnsweredBeforeItEnds) {
  const std::string answers = ui.File("answers.txt");
  form.onClick = [] { ExitProcessWithCode(2); };
  EXPECT_EXIT(
      {
        HeadlessUi::App().StartScript(std::make_unique<Automation>(
            HeadlessUi::App(),
            [&] {
              std::string error;
              const std::string path = ui.File("exit.txt");
              std::ofstream(path) << "dump\nclick ButtonOk\ndump\n";
              return FdScriptInput::Open(path, error);
            }(),
            true,
            [&](const std::string& line) {
              std::ofstream(answers, std::ios::app) << line << "\n";
            }));
        ui.RunScript();
      },
      ::testing::ExitedWithCode(2), "");
  const std::string written = test::ReadFile(answers);
  EXPECT_EQ(written.substr(written.find('\n') + 1), kOk + "\n");
}

TEST_F(AutomationTest, AtTheEndOfTheScriptInMemoryTheWindowsAreClosedAndTheProcessEnds) {
  const auto runToEnd = [&](bool allowClose) {
    form.allowClose = allowClose;
    ui.StartScript("dump\n");
    HeadlessUi::App().Run();
  };
  EXPECT_EXIT(runToEnd(true), ::testing::ExitedWithCode(0), "");
  EXPECT_EXIT(runToEnd(false), ::testing::ExitedWithCode(1), "FormTest refused to close");
}

}  // namespace
}  // namespace dbinst
