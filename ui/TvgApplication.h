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

// The one event loop of the process: input of every window, due timers, repaints and, when a
// script drives the program, its commands. ProcessMessages runs one round of it.
class TvgApplication {
 public:
  // Picks the display: in memory with DBINST_HEADLESS=1 or without a display, else SDL2.
  static TvgApplication& Instance();

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
  void Run();
  // Runs rounds until the form is hidden.
  void RunModal(TvgForm& form);

  // Where the script's `log` command reads its lines.
  void SetLogSource(std::function<std::vector<std::string>()> source);

 private:
  TvgApplication();
  std::string title_;
  TvgForm* mainForm_ = nullptr;
  std::vector<TvgForm*> forms_;
  std::vector<TTimer*> timers_;
};

}  // namespace dbinst
