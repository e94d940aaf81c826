#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/ScriptDriver.h"

namespace dbinst {

class ScriptInput;
class TvgApplication;
class TvgForm;
class TvgObject;

// A press and release at the centre of the object, through the display's input queue, once the
// object is shown, enabled, not covered and not behind a modal window; false with the reason.
bool ClickObject(TvgForm& form, TvgObject& object, std::string& error);
// The same for the form's object of that name.
bool ClickNamed(TvgForm& form, std::string_view name, std::string& error);
// Draws the form as a person sees it into a PNG file; false with the reason.
bool WriteSnapshot(TvgForm& form, const std::string& path, std::string& error);

// Carries out an answer through the same input path as a person; false with the reason when the
// answer does not fit the dialog as shown.
using TScriptedAnswer = std::function<bool(std::string_view answer, std::string& error)>;

// A dialog's offer to take scripted answers of its kind ("message" for a message window, "browse"
// for the folder browser), for as long as it lives; the dialog keeps it as a member.
class ScriptedDialog {
 public:
  ScriptedDialog(const TvgForm& form, std::string kind, TScriptedAnswer answer);
  ~ScriptedDialog();
  ScriptedDialog(const ScriptedDialog&) = delete;
  ScriptedDialog& operator=(const ScriptedDialog&) = delete;

  // The offer of the form, null when it takes no scripted answers.
  static const ScriptedDialog* Of(const TvgForm& form);
  const std::string& Kind() const { return kind_; }
  bool Answer(std::string_view answer, std::string& error) const { return answer_(answer, error); }

 private:
  const TvgForm& form_;
  std::string kind_;
  TScriptedAnswer answer_;
};

// Carries out the commands of an automation script, answering each with one JSON line.
class Automation : public ScriptDriver {
 public:
  // linesArriveTogether: a file, whose next line waits until the command before it is answered
  // (or a modal window it opened waits for input); otherwise lines run as they arrive.
  Automation(TvgApplication& application, std::unique_ptr<ScriptInput> input,
             bool linesArriveTogether, std::function<void(const std::string&)> writeLine);
  ~Automation() override;
  Automation(const Automation&) = delete;
  Automation& operator=(const Automation&) = delete;

  bool RunArrived(int timeoutMs) override;
  bool Ended() const override { return ended_; }
  bool MayStartCommand() const override;
  // Gives a dialog the next queued answer of its kind.
  void ModalStarted(TvgForm& form) override;
  // The close request of the topmost window, confirming its question, as a person leaving the
  // program would; the loops unwind and come back here for the next window.
  void Finish() override;
  // Writes the answers of the commands still in progress.
  void BeforeExit() override;

  // Carries out one command line and writes its answer.
  void Execute(std::string_view line);

 private:
  struct Pending {
    int modalDepth = 0;
    std::string error;  // a queued answer that failed while this command ran
  };
  struct QueuedAnswer {
    std::string kind;  // "message" or "browse"
    std::string answer;
  };

  // The answer line of a command: empty for ok.
  std::string Run(std::string_view command, std::string_view argument);
  std::string Click(std::string_view name);
  std::string Tree(std::string_view argument);
  std::string Key(std::string_view key);
  std::string Close();
  std::string Queue(std::string kind, std::string_view answer);
  std::string Wait(std::string_view milliseconds);
  std::string Dump() const;
  std::string Log() const;
  std::string Snapshot(std::string_view path);
  void ApplyAnswer(TvgForm& form, const ScriptedDialog& dialog, const std::string& answer);
  void Write(const std::string& line);

  TvgApplication& application_;
  std::unique_ptr<ScriptInput> input_;
  bool linesArriveTogether_;
  std::function<void(const std::string&)> writeLine_;
  std::vector<Pending> pending_;
  std::deque<QueuedAnswer> queued_;
  bool ended_ = false;
};

// Starts the script DBINST_SCRIPT names ("-" for standard input), answering on standard output;
// nothing without it. An unreadable script ends the process with code 3.
void StartScriptFromEnvironment(TvgApplication& application);

// {"error": "..."}
std::string JsonError(std::string_view message);

}  // namespace dbinst
