#include "ui/TvgForm.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/ui/HeadlessUi.h"
#include "tests/ui/TestForms.h"
#include "ui/FormStreamError.h"
#include "ui/TvgResources.h"
#include "ui/TvgText.h"

namespace dbinst {
namespace {

using test::HeadlessUi;
using test::TestForm;

std::string LoadError(const std::string& text) {
  TestForm form(false);
  try {
    form.LoadLayout(CompileFormText(text));
  } catch (const EFormLoadError& error) {
    return error.what();
  }
  return "loaded";
}

std::string Window(const std::string& inside) {
  return "object FormBad: TFormBad\n  ClientWidth = 100\n  ClientHeight = 50\n" + inside + "end\n";
}

TEST(TvgFormTest, LoadsTheWindowItsTimersItsStyleLibraryAndItsScene) {
  HeadlessUi ui;
  TestForm form;
  EXPECT_EQ(form.Name(), "FormTest");
  EXPECT_EQ(form.Caption(), "Test window");
  EXPECT_EQ(form.ClientWidth(), 300);
  EXPECT_EQ(form.ClientHeight(), 200);
  ASSERT_EQ(form.StyleLibraries().size(), 1u);
  EXPECT_EQ(form.StyleLibraries()[0]->Name(), "vgResources1");
  EXPECT_NE(form.StyleLibraries()[0]->Style("BackgroundMover"), nullptr);
  ASSERT_EQ(form.Timers().size(), 2u);
  EXPECT_EQ(form.Timer("timerfast").Interval(), 250u);
  EXPECT_TRUE(form.Timer("TimerFast").Enabled());
  EXPECT_TRUE(form.Timer("TimerFast").OnTimer);
  EXPECT_FALSE(form.Timer("TimerIdle").Enabled());
  EXPECT_FALSE(form.Timer("TimerIdle").OnTimer);
  EXPECT_EQ(form.Object<TvgText>("TextTitle").Text(), "Tytuł");
  EXPECT_EQ(form.Scene().ActiveControl(), &form.Object<TvgButton>("ButtonOk"));
  EXPECT_THROW(form.Timer("TimerNone"), EFormLoadError);
  EXPECT_THROW(form.Object<TvgText>("ButtonOk"), EFormLoadError);
  EXPECT_THROW(form.Object<TvgText>("Nothing"), EFormLoadError);
}

TEST(TvgFormTest, UnknownClassesPropertiesAndHandlersAreLoadErrorsThatNameThem) {
  HeadlessUi ui;
  EXPECT_NE(
      LoadError(Window("  OnCloseQuery = FormCloseQueryMissing\n")).find("FormCloseQueryMissing"),
      std::string::npos);
  EXPECT_NE(LoadError(Window("  object T: TTimer\n    OnTimer = NoSuchTimer\n  end\n"))
                .find("NoSuchTimer"),
            std::string::npos);
  EXPECT_NE(LoadError(Window("  object T: TTimer\n    Colour = 3\n  end\n")).find("Colour"),
            std::string::npos);
  EXPECT_NE(LoadError(Window("  object B: TButton\n  end\n")).find("TButton"), std::string::npos);
  EXPECT_NE(LoadError(Window("  Color = clRed\n")).find("Color"), std::string::npos);
  EXPECT_NE(LoadError(Window("  BorderStyle = bsSizeable\n")).find("bsSizeable"),
            std::string::npos);
  EXPECT_NE(LoadError(Window("  Position = poDesigned\n")).find("poDesigned"), std::string::npos);
  EXPECT_NE(LoadError(Window("  ClientWidth = 100000\n")).find("ClientWidth"), std::string::npos);
  EXPECT_NE(LoadError(Window("  object S: TvgScene\n    object X: TvgButton\n      OnClick = "
                             "Missing\n    end\n  end\n"))
                .find("Missing"),
            std::string::npos);
  EXPECT_NE(
      LoadError(Window("  object S: TvgScene\n  end\n  object S2: TvgScene\n  end\n")).find("one"),
      std::string::npos);
  EXPECT_EQ(LoadError(Window("  object S: TvgScene\n  end\n")), "loaded");
}

TEST(TvgFormTest, ATimerKeepsEveryMillisecondOfTheLongestInterval) {
  HeadlessUi ui;
  const auto timer = [](const std::string& interval) {
    return Window("  object T: TTimer\n    Interval = " + interval + "\n  end\n");
  };
  TestForm form(false);
  form.LoadLayout(CompileFormText(timer("2147483647")));
  EXPECT_EQ(form.Timer("T").Interval(), 2147483647u);
  EXPECT_NE(LoadError(timer("2147483648")).find("Interval"), std::string::npos);
  EXPECT_NE(LoadError(timer("-1")).find("Interval"), std::string::npos);
}

TEST(TvgFormTest, AMalformedStreamIsAFormStreamError) {
  HeadlessUi ui;
  TestForm form(false);
  EXPECT_THROW(form.LoadLayout("TPF0\x03"), EFormStreamError);
}

TEST(TvgFormTest, ShowCentresOnTheScreenAndADialogOnItsOwner) {
  HeadlessUi ui;
  TestForm form;
  test::QuestionForm question;
  question.SetOwner(&form);
  form.Show();
  EXPECT_TRUE(form.Shown());
  EXPECT_EQ(form.activatedBy, &form.Scene());
  const ScreenPoint at = form.NativeWindow()->Position();
  EXPECT_EQ(at.x, (1920 - 300) / 2);
  EXPECT_EQ(at.y, (1080 - 200) / 2);
  form.NativeWindow()->SetPosition({100, 50});
  question.Show();
  EXPECT_EQ(question.NativeWindow()->Position().x, 100 + (300 - 200) / 2);
  EXPECT_EQ(question.NativeWindow()->Position().y, 50 + (200 - 100) / 2);
  EXPECT_EQ(HeadlessUi::App().TopmostShownForm(), &question);
  question.Hide();
  EXPECT_EQ(HeadlessUi::App().TopmostShownForm(), &form);
}

TEST(TvgFormTest, TheCloseRequestAsksTheCloseQueryWhichMayRefuse) {
  HeadlessUi ui;
  TestForm form;
  form.Show();
  form.allowClose = false;
  form.Close();
  EXPECT_TRUE(form.Shown());
  form.allowClose = true;
  form.Close();
  EXPECT_FALSE(form.Shown());
  EXPECT_EQ(form.closeQueries, 2);
}

TEST(TvgFormTest, TheWindowDragsOnlyWhereTheMoverBackgroundIsUncovered) {
  HeadlessUi ui;
  TestForm form;
  form.Show();
  HeadlessUi::App().ProcessMessages();
  auto& window = static_cast<HeadlessWindow&>(*form.NativeWindow());
  EXPECT_TRUE(window.Draggable(250, 10));
  // The title text takes no hits, so the bar under it still moves the window.
  EXPECT_TRUE(window.Draggable(30, 10));
  EXPECT_FALSE(window.Draggable(50, 170));
  EXPECT_FALSE(window.Draggable(150, 80));
}

TEST(TvgFormTest, AShownFormIsDrawnAtTheDisplayScaleWhenItsSceneChanges) {
  HeadlessUi ui;
  HeadlessUi::App().UseDisplay(std::make_unique<HeadlessDisplay>(2.0f));
  TestForm form;
  form.Show();
  HeadlessUi::App().ProcessMessages();
  auto& window = static_cast<HeadlessWindow&>(*form.NativeWindow());
  EXPECT_EQ(window.FrameWidth(), 600);
  EXPECT_EQ(window.FrameHeight(), 400);
  const int presented = window.Presented();
  HeadlessUi::App().ProcessMessages();
  EXPECT_EQ(window.Presented(), presented);
  form.Object<TvgText>("TextTitle").SetText("Inny");
  HeadlessUi::App().ProcessMessages();
  EXPECT_EQ(window.Presented(), presented + 1);
}

}  // namespace
}  // namespace dbinst
