#include "ui/TvgApplication.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "env/MessagePump.h"
#include "tests/ui/HeadlessUi.h"
#include "tests/ui/TestForms.h"

namespace dbinst {
namespace {

using test::HeadlessUi;
using test::TestForm;

void InjectClick(TvgForm& form, float x, float y) {
  Display& display = HeadlessUi::App().Screen();
  const uint32_t window = form.NativeWindow()->Id();
  display.Inject({EDisplayEventKind::MouseDown, window, x, y, EDisplayKey::Enter});
  display.Inject({EDisplayEventKind::MouseUp, window, x, y, EDisplayKey::Enter});
}

void InjectKey(TvgForm& form, EDisplayKey key) {
  HeadlessUi::App().Screen().Inject({EDisplayEventKind::Key, form.NativeWindow()->Id(), 0, 0, key});
}

TEST(TvgApplicationTest, ARoundDispatchesInputThenFiresTimersThenRunsTheScript) {
  HeadlessUi ui;
  TestForm form;
  form.Show();
  std::vector<std::string> order;
  form.onClick = [&] { order.push_back("click"); };
  TTimer timer("Now");
  timer.OnTimer = [&](TTimer&) { order.push_back("timer"); };
  ui.StartScript("click ButtonOk\n");
  timer.SetInterval(0);
  InjectClick(form, 50, 170);
  HeadlessUi::App().ProcessMessages();
  EXPECT_EQ(order, (std::vector<std::string>{"click", "timer", "click"}));
  EXPECT_EQ(ui.answers, (std::vector<std::string>{"{\"ok\": true}"}));
}

TEST(TvgApplicationTest, TheEnginesMessagePumpRunsARound) {
  HeadlessUi ui;
  TestForm form;
  form.Show();
  // Installed as the program's entry installs it once its window shows.
  SetMessagePump([] { HeadlessUi::App().ProcessMessages(); });
  InjectClick(form, 50, 170);
  // The entry hands the engine this pump once the main window shows.
  SetMessagePump([] { HeadlessUi::App().ProcessMessages(); });
  ProcessMessages();
  SetMessagePump(nullptr);
  EXPECT_EQ(form.clicks, 1);
}

TEST(TvgApplicationTest, EscapeAndAltF4MakeTheCloseRequestOtherKeysGoToTheScene) {
  HeadlessUi ui;
  TestForm form;
  form.Show();
  form.allowClose = false;
  InjectKey(form, EDisplayKey::Escape);
  InjectKey(form, EDisplayKey::AltF4);
  HeadlessUi::App().ProcessMessages();
  EXPECT_EQ(form.closeQueries, 2);
  EXPECT_TRUE(form.Shown());
  // Enter presses the default button.
  InjectKey(form, EDisplayKey::Enter);
  HeadlessUi::App().ProcessMessages();
  EXPECT_EQ(form.clicks, 1);
}

TEST(TvgApplicationTest, AModalLoopRunsUntilItsFormIsHiddenAndKeepsInputFromTheOthers) {
  HeadlessUi ui;
  TestForm form;
  test::QuestionForm question;
  form.Show();
  TTimer timer("Answer");
  timer.SetInterval(20);
  int rounds = 0;
  timer.OnTimer = [&](TTimer&) {
    // The main window's button is behind the modal window: its click goes nowhere.
    if (++rounds == 1) {
      InjectClick(form, 50, 170);
      return;
    }
    InjectClick(question, question.Object<TvgButton>("ButtonYes").SceneRect().Center().x,
                question.Object<TvgButton>("ButtonYes").SceneRect().Center().y);
  };
  EXPECT_EQ(question.Ask(), 1);
  EXPECT_FALSE(question.Shown());
  EXPECT_FALSE(question.Modal());
  EXPECT_EQ(form.clicks, 0);
  EXPECT_GE(rounds, 2);
  EXPECT_EQ(HeadlessUi::App().ActiveModalForm(), nullptr);
}

}  // namespace
}  // namespace dbinst
