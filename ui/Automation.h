#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dbinst {

class ScriptInput;
class TvgApplication;
class TvgForm;
class TvgObject;

// A press and release at the centre of the object, through the display's input queue, once the
// object is shown, enabled, not covered and not behind a modal window; false with the reason.
bool ClickObject(TvgForm& form, TvgObject& object, std::string& error);

// Carries out the commands of an automation script, answering each with one JSON line.
class Automation {
 public:
  // linesArriveTogether: a file, whose next line waits until the command before it is answered
  // (or a modal window it opened waits for input); otherwise lines run as they arrive.
  Automation(TvgApplication& application, std::unique_ptr<ScriptInput> input,
             bool linesArriveTogether, std::function<void(const std::string&)> writeLine);
  ~Automation();
  Automation(const Automation&) = delete;
  Automation& operator=(const Automation&) = delete;

  // Carries out the commands that have arrived, waiting at most timeoutMs for the first one
  // (-1: as long as it takes); false when none was carried out.
  bool RunArrived(int timeoutMs);
  bool Ended() const { return ended_; }
  // Whether the loop may start the next command now.
  bool MayStartCommand() const;

  // Carries out one command line and writes its answer.
  void Execute(std::string_view line);

  // Queues an answer for the next dialog of the kind, without a command to answer.
  void QueueAnswer(std::string kind, std::string answer);
  // A modal form of a dialog kind was shown: gives it the next queued answer of its kind.
  void OfferQueuedAnswer(TvgForm& form);
  // Writes the answers of the commands still in progress; the process is about to end.
  void AnswerPendingBeforeExit();

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
  void ApplyAnswer(TvgForm& form, const std::string& answer);
  void Write(const std::string& line);

  TvgApplication& application_;
  std::unique_ptr<ScriptInput> input_;
  bool linesArriveTogether_;
  std::function<void(const std::string&)> writeLine_;
  std::vector<Pending> pending_;
  std::deque<QueuedAnswer> queued_;
  bool ended_ = false;
};

// {"error": "..."}
std::string JsonError(std::string_view message);

}  // namespace dbinst
