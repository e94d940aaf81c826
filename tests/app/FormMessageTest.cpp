// The message window on an in-memory display, answered by automation scripts as a person would.
#include "app/FormMessage.h"

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <optional>

#include "engine/DoDbInstallThings.h"
#include "payload/ResourceFile.h"
#include "platform/ExitCodes.h"
#include "platform/prefix/ElfResourceModule.h"
#include "tests/support/EnginePrefix.h"
#include "tests/ui/HeadlessUi.h"
#include "ui/TvgControls.h"
#include "ui/TvgShapes.h"
#include "ui/TvgText.h"

namespace dbinst {
namespace {

class FormMessageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ElfResourceModule installer(DBINST_INSTALLER_PATH);
    const std::optional<std::string> layout = ReadResourceBytes(installer, "TFORMMESSAGE");
    ASSERT_TRUE(layout.has_value());
    world.AddResource("TFORMMESSAGE", *layout);
    world.Open();
    message = std::make_unique<TFormMessage>(world.machine().resources(), nullptr);
  }

  template <class T>
  T& Object(std::string_view name) {
    return message->Object<T>(name);
  }
  bool Visible(std::string_view name) { return Object<TvgObject>(name).Visible(); }
  std::string Text(std::string_view name) { return Object<TvgObject>(name).Text(); }
  // Asks while the script runs, so that its commands answer the open window.
  void AskWithScript(const std::string& script, bool yesIsDefault) {
    ui.StartScript(script);
    message->Ask("Delete it?", "Question", yesIsDefault);
  }
  void TellWithScript(const std::string& script) {
    ui.StartScript(script);
    message->Tell("Something broke.", "Notice");
  }

  test::EnginePrefix world;
  test::HeadlessUi ui;
  std::unique_ptr<TFormMessage> message;
};

TEST_F(FormMessageTest, IsMadeHiddenWithTheButtonTextsOfTheTranslationTable) {
  EXPECT_FALSE(message->Shown());
  EXPECT_EQ(message->Name(), "FormMessage");
  ASSERT_NE(ScriptedDialog::Of(*message), nullptr);
  EXPECT_EQ(ScriptedDialog::Of(*message)->Kind(), "message");
  EXPECT_EQ(message->Answer(), 0);
  EXPECT_EQ(Text("ButtonOk"), GeneralMod->Text(155));
  EXPECT_EQ(Text("ButtonYes"), GeneralMod->Text(153));
  EXPECT_EQ(Text("ButtonNo"), GeneralMod->Text(154));
  EXPECT_FALSE(Text("ButtonYes").empty());
}

TEST_F(FormMessageTest, AQuestionShowsTheQuestionPictureTextsAndYesAndNo) {
  AskWithScript("answer close\n", false);
  EXPECT_FALSE(message->Shown());
  EXPECT_EQ(Text("TextMessage"), "Delete it?");
  EXPECT_EQ(Text("TextWindowTitle"), "Question");
  EXPECT_TRUE(Visible("ImageIllustration"));
  ASSERT_NE(Object<TvgImage>("ImageIllustration").Picture(), nullptr);
  EXPECT_EQ(Object<TvgImage>("ImageIllustration").Picture(),
            Object<TvgImage>("ImageSpecimenQuestion").Picture());
  EXPECT_FALSE(Visible("ButtonOk"));
  EXPECT_TRUE(Visible("ButtonYes"));
  EXPECT_TRUE(Visible("ButtonNo"));
  EXPECT_EQ(message->Scene().ActiveControl(), &Object<TvgButton>("ButtonNo"));
}

TEST_F(FormMessageTest, YesAsTheDefaultMakesYesTheActiveControl) {
  AskWithScript("answer close\n", true);
  EXPECT_EQ(message->Scene().ActiveControl(), &Object<TvgButton>("ButtonYes"));
}

TEST_F(FormMessageTest, OnlyYesAnswersOne) {
  AskWithScript("answer yes\n", false);
  EXPECT_EQ(message->Answer(), 1);
  EXPECT_FALSE(message->Shown());
  AskWithScript("answer no\n", true);
  EXPECT_EQ(message->Answer(), 0);
  AskWithScript("answer yes\n", false);
  AskWithScript("answer close\n", true);
  EXPECT_EQ(message->Answer(), 0);
}

TEST_F(FormMessageTest, EnterPressesTheDefaultAnswer) {
  AskWithScript("key Enter\n", true);
  EXPECT_EQ(message->Answer(), 1);
  AskWithScript("key Enter\n", false);
  EXPECT_EQ(message->Answer(), 0);
}

TEST_F(FormMessageTest, ANoticeShowsTheWarningPictureAndOkAndKeepsTheAnswer) {
  AskWithScript("answer yes\n", false);
  ASSERT_EQ(message->Answer(), 1);
  TellWithScript("answer ok\n");
  EXPECT_FALSE(message->Shown());
  EXPECT_EQ(message->Answer(), 1);
  EXPECT_EQ(Text("TextMessage"), "Something broke.");
  EXPECT_EQ(Text("TextWindowTitle"), "Notice");
  EXPECT_EQ(Object<TvgImage>("ImageIllustration").Picture(),
            Object<TvgImage>("ImageSpecimenWarning").Picture());
  EXPECT_TRUE(Visible("ButtonOk"));
  EXPECT_FALSE(Visible("ButtonYes"));
  EXPECT_FALSE(Visible("ButtonNo"));
}

TEST_F(FormMessageTest, AnAnswerThatDoesNotFitTheWindowShownIsAnError) {
  std::string error;
  const ScriptedDialog& scripted = *ScriptedDialog::Of(*message);
  EXPECT_FALSE(scripted.Answer("ok", error));
  EXPECT_NE(error.find("not shown"), std::string::npos) << error;
  TTimer answering("Answering");
  answering.SetInterval(10);
  std::vector<std::pair<bool, std::string>> results;
  answering.OnTimer = [&](TTimer& timer) {
    timer.SetEnabled(false);
    for (const char* answer : {"yes", "no", "maybe", "ok"}) {
      std::string why;
      results.emplace_back(scripted.Answer(answer, why), why);
    }
  };
  answering.SetEnabled(true);
  TellWithScript("wait 50\n");
  ASSERT_EQ(results.size(), 4u);
  EXPECT_FALSE(results[0].first);
  EXPECT_NE(results[0].second.find("ButtonYes"), std::string::npos) << results[0].second;
  EXPECT_FALSE(results[1].first);
  EXPECT_FALSE(results[2].first);
  EXPECT_NE(results[2].second.find("maybe"), std::string::npos) << results[2].second;
  EXPECT_TRUE(results[3].first) << results[3].second;
  EXPECT_FALSE(message->Shown());
}

TEST_F(FormMessageTest, TheEngineAsksTheExitQuestionWithNoAsTheDefault) {
  TDoDbInstallThings engine(world.machine(), world.module());
  engine.SetMessageWindow(message.get());
  ui.StartScript("answer no\n");
  EXPECT_FALSE(engine.ConfirmExit());
  EXPECT_EQ(Text("TextMessage"), GeneralMod->Text(242));
  EXPECT_EQ(Text("TextWindowTitle"), GeneralMod->Text(19));
  EXPECT_EQ(message->Scene().ActiveControl(), &Object<TvgButton>("ButtonNo"));
  ui.StartScript("answer yes\n");
  EXPECT_EXIT(engine.ConfirmExit(), ::testing::ExitedWithCode(kExitCodeUserQuit), "");
}

TEST_F(FormMessageTest, TheEnginesFatalMessageIsANoticeAndEndsWithCodeThree) {
  TDoDbInstallThings engine(world.machine(), world.module());
  engine.SetMessageWindow(message.get());
  ui.StartScript("answer ok\n");
  EXPECT_EXIT(engine.FatalError("broken installer"), ::testing::ExitedWithCode(kExitCodeFatal), "");
}

}  // namespace
}  // namespace dbinst
