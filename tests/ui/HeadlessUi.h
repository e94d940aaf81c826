#pragma once

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/HeadlessDisplay.h"
#include "platform/prefix/FdScriptInput.h"
#include "tests/TempFolder.h"
#include "ui/Automation.h"
#include "ui/FormText.h"
#include "ui/TvgApplication.h"

namespace dbinst::test {

// Puts the application on a fresh in-memory display for one test, and drives it by a real
// script file when asked; the answers are collected instead of printed.
class HeadlessUi {
 public:
  HeadlessUi() { App().UseDisplay(std::make_unique<HeadlessDisplay>(1.0f)); }
  ~HeadlessUi() {
    App().StopScript();
    App().SetMainForm(nullptr);
    App().UseDisplay(std::make_unique<HeadlessDisplay>(1.0f));
  }
  HeadlessUi(const HeadlessUi&) = delete;
  HeadlessUi& operator=(const HeadlessUi&) = delete;

  static TvgApplication& App() { return TvgApplication::Instance(); }
  HeadlessDisplay& Display() { return static_cast<HeadlessDisplay&>(App().Screen()); }

  // Starts a script of the text, read from a file as DBINST_SCRIPT reads it; the virtual clock
  // starts at 0.
  void StartScript(const std::string& text) {
    const std::string path = folder_.File("script-" + std::to_string(++scripts_) + ".txt");
    std::ofstream(path, std::ios::binary) << text;
    std::string error;
    std::unique_ptr<ScriptInput> input = FdScriptInput::Open(path, error);
    App().StartScript(
        std::make_unique<Automation>(App(), std::move(input), true,
                                     [this](const std::string& line) { answers.push_back(line); }));
  }
  // Runs rounds until the script has been read to its end.
  void RunScript() {
    while (App().Script() && !App().Script()->Ended()) App().ProcessMessages();
  }
  std::vector<std::string> Run(const std::string& text) {
    answers.clear();
    StartScript(text);
    RunScript();
    return answers;
  }
  std::string File(const std::string& name) const { return folder_.File(name); }

  std::vector<std::string> answers;

 private:
  test::TempFolder folder_;
  int scripts_ = 0;
};

// The text of a form as hexadecimal digits, for a binary block inside another form's text.
inline std::string HexOf(const std::string& bytes) {
  std::string hex;
  char digits[3];
  for (unsigned char byte : bytes) {
    std::snprintf(digits, sizeof digits, "%02X", byte);
    hex += digits;
  }
  return hex;
}

}  // namespace dbinst::test
