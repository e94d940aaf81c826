#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dbinst {

class TvgForm;
class TTimer;
class Display;
class ScriptDriver;
struct DisplayEvent;

// The one event loop of the process: input of every window, due timers, repaints and, when a
// script drives the program, its commands. ProcessMessages runs one round of it.
class TvgApplication {
 public:
  // Picks the display: in memory with DBINST_HEADLESS=1 or without a display, else SDL2. The
  // script of DBINST_SCRIPT, if any, starts at first use of the loop.
  static TvgApplication& Instance();
  ~TvgApplication();

  bool Headless() const;
  std::string Title() const { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }
  void SetMainForm(TvgForm* form) { mainForm_ = form; }
  TvgForm* MainForm() const { return mainForm_; }

  // Forms and timers register themselves on creation and leave on destruction.
  void AddForm(TvgForm& form);
  void RemoveForm(TvgForm& form);
  void AddTimer(TTimer& timer);
  void RemoveTimer(TTimer& timer);
  const std::vector<TvgForm*>& Forms() const { return forms_; }

  // Milliseconds on the loop's clock: real time, or the script's virtual clock.
  uint64_t Now() const;

  // One round: pending input, due timers, script commands that have arrived, repaints.
  void ProcessMessages();
  // Runs until the process ends (every way out of the installer ends it with an exit code).
  [[noreturn]] void Run();
  // Runs rounds until the form is hidden.
  void RunModal(TvgForm& form);

  // Where the script's `log` command reads its lines.
  void SetLogSource(std::function<std::vector<std::string>()> source);
  std::vector<std::string> LogLines() const;

  // The display, made at first use.
  Display& Screen() const;
  // Replaces the display (tests use an in-memory one); forms shown on the old one are hidden.
  void UseDisplay(std::unique_ptr<Display> display);
  // Starts driving the program by a script; the clock becomes virtual, starting at 0.
  void StartScript(std::unique_ptr<ScriptDriver> script);
  void StopScript();
  ScriptDriver* Script() const { return script_.get(); }
  // How the script of the environment is started, once, at first use of the loop.
  void SetScriptStarter(std::function<void(TvgApplication&)> starter);

  // The shown form that is on top, null when none is shown.
  TvgForm* TopmostShownForm() const;
  void BringToFront(TvgForm& form);
  // The modal form now running, null outside modal loops.
  TvgForm* ActiveModalForm() const;
  int ModalDepth() const { return static_cast<int>(modalForms_.size()); }
  // Whether a modal form other than this one takes all input now.
  bool BlockedByModal(const TvgForm& form) const;

  // Dispatches the input events that are pending, to the forms they belong to.
  void DispatchInput();
  // Fires each enabled timer whose time has come, once, in the order they are due.
  void FireDueTimers();
  // Moves the virtual clock on by the time, firing the timers that fall due on the way in order.
  void AdvanceClock(uint64_t milliseconds);
  // Draws and presents every shown form whose scene changed.
  void RepaintChanged();

 private:
  TvgApplication();
  // Starts the environment's script at the first use of the loop, once.
  void StartScriptOnce();
  // While a script runs; once it has ended, a person at a real window has the real clock back.
  bool VirtualClock() const;
  void Dispatch(const DisplayEvent& event);
  TvgForm* FormOfWindow(uint32_t window) const;
  // Waits for something to happen while the loop has nothing to do.
  void Idle();
  uint32_t MillisecondsToNextTimer() const;

  std::string title_;
  TvgForm* mainForm_ = nullptr;
  std::vector<TvgForm*> forms_;
  std::vector<TTimer*> timers_;
  std::vector<TvgForm*> zOrder_;  // shown at least once, bottom first
  std::vector<TvgForm*> modalForms_;
  mutable std::unique_ptr<Display> display_;
  std::unique_ptr<ScriptDriver> script_;
  std::function<void(TvgApplication&)> scriptStarter_;
  bool scriptChecked_ = false;
  uint64_t virtualNow_ = 0;
  std::function<std::vector<std::string>()> logSource_;
};

}  // namespace dbinst
