#pragma once

namespace dbinst {

class TvgForm;

// What drives the event loop besides the display: a script of commands. The loop asks it for work
// and tells it of modal windows; what the commands are is the automation's business alone.
class ScriptDriver {
 public:
  virtual ~ScriptDriver() = default;
  // Carries out the commands that have arrived, waiting at most timeoutMs for the first one
  // (-1: as long as it takes); false when none was carried out.
  virtual bool RunArrived(int timeoutMs) = 0;
  // Whether the loop may start the next command now.
  virtual bool MayStartCommand() const = 0;
  // The script has been read to its end.
  virtual bool Ended() const = 0;
  // A modal form has been shown and its loop starts.
  virtual void ModalStarted(TvgForm& form) = 0;
  // The script has ended in memory, where nothing else can bring work: closes the shown windows,
  // which ends the process.
  virtual void Finish() = 0;
  // The process is about to end.
  virtual void BeforeExit() = 0;
};

}  // namespace dbinst
