#include "ui/TvgApplication.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Display.h"
#include "platform/HeadlessDisplay.h"
#include "platform/MessageBox.h"
#include "platform/ScriptInput.h"
#include "ui/Automation.h"
#include "ui/TTimer.h"
#include "ui/TvgForm.h"

namespace dbinst {
namespace {

// The longest the idle loop sleeps without a timer due: the SDL display still wakes at input.
constexpr uint32_t kLongestIdle = 500;
// With a script and a real display both can bring work; the loop looks at each in turn.
constexpr int kScriptSlice = 10;
// An unreadable script is a start-up failure of the scripted run.
constexpr int kExitScriptUnreadable = 3;

bool EnvironmentSays(const char* name, const char* value) {
  const char* text = std::getenv(name);
  return text && std::string(text) == value;
}

std::unique_ptr<Display> OpenDisplay() {
  const UiServices& services = CurrentUiServices();
  if (!EnvironmentSays("DBINST_HEADLESS", "1") && services.openDisplay) {
    if (std::unique_ptr<Display> display = services.openDisplay()) return display;
  }
  return std::make_unique<HeadlessDisplay>();
}

void WriteToStandardOutput(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace

TvgApplication& TvgApplication::Instance() {
  // Never destroyed: every way out of the program ends the process with the windows still there.
  static TvgApplication* instance = [] {
    auto* created = new TvgApplication();
    SetBeforeExit([] {
      if (Instance().automation_) Instance().automation_->AnswerPendingBeforeExit();
    });
    return created;
  }();
  return *instance;
}

TvgApplication::TvgApplication() = default;

Display& TvgApplication::Screen() const {
  if (!display_) display_ = OpenDisplay();
  return *display_;
}

bool TvgApplication::Headless() const { return Screen().Headless(); }

void TvgApplication::UseDisplay(std::unique_ptr<Display> display) {
  for (TvgForm* form : forms_) form->DropNativeWindow();
  zOrder_.clear();
  display_ = std::move(display);
}

void TvgApplication::AddForm(TvgForm& form) { forms_.push_back(&form); }

void TvgApplication::RemoveForm(TvgForm& form) {
  std::erase(forms_, &form);
  std::erase(zOrder_, &form);
  std::erase(modalForms_, &form);
  if (mainForm_ == &form) mainForm_ = nullptr;
}

void TvgApplication::AddTimer(TTimer& timer) { timers_.push_back(&timer); }

void TvgApplication::RemoveTimer(TTimer& timer) { std::erase(timers_, &timer); }

void TvgApplication::SetLogSource(std::function<std::vector<std::string>()> source) {
  logSource_ = std::move(source);
}

std::vector<std::string> TvgApplication::LogLines() const {
  return logSource_ ? logSource_() : std::vector<std::string>();
}

uint64_t TvgApplication::Now() const {
  const_cast<TvgApplication*>(this)->StartScriptFromEnvironment();
  return VirtualClock() ? virtualNow_ : Screen().Ticks();
}

bool TvgApplication::VirtualClock() const { return automation_ && !automation_->Ended(); }

void TvgApplication::StartScriptFromEnvironment() {
  if (scriptChecked_) return;
  scriptChecked_ = true;
  const char* source = std::getenv("DBINST_SCRIPT");
  if (!source || !*source) return;
  const UiServices& services = CurrentUiServices();
  std::string error = "this program cannot read scripts";
  std::unique_ptr<ScriptInput> input =
      services.openScript ? services.openScript(source, error) : nullptr;
  if (!input) {
    std::fprintf(stderr, "DBINST_SCRIPT: %s\n", error.c_str());
    ExitProcessWithCode(kExitScriptUnreadable);
  }
  StartScript(std::move(input), std::string(source) != "-", WriteToStandardOutput);
}

void TvgApplication::StartScript(std::unique_ptr<ScriptInput> input, bool linesArriveTogether,
                                 std::function<void(const std::string&)> writeLine) {
  scriptChecked_ = true;
  virtualNow_ = 0;
  automation_ = std::make_unique<Automation>(*this, std::move(input), linesArriveTogether,
                                             std::move(writeLine));
  for (TTimer* timer : timers_) {
    // Timers armed on the real clock start over on the virtual one.
    if (timer->Enabled()) {
      timer->SetEnabled(false);
      timer->SetEnabled(true);
    }
  }
}

void TvgApplication::StopScript() { automation_.reset(); }

TvgForm* TvgApplication::TopmostShownForm() const {
  for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) {
    if ((*it)->Shown()) return *it;
  }
  return nullptr;
}

void TvgApplication::BringToFront(TvgForm& form) {
  std::erase(zOrder_, &form);
  zOrder_.push_back(&form);
}

TvgForm* TvgApplication::ActiveModalForm() const {
  return modalForms_.empty() ? nullptr : modalForms_.back();
}

bool TvgApplication::BlockedByModal(const TvgForm& form) const {
  const TvgForm* modal = ActiveModalForm();
  return modal && modal != &form && modal->Shown();
}

TvgForm* TvgApplication::FormOfWindow(uint32_t window) const {
  for (TvgForm* form : forms_) {
    if (form->NativeWindow() && form->NativeWindow()->Id() == window) return form;
  }
  return nullptr;
}

void TvgApplication::Dispatch(const DisplayEvent& event) {
  TvgForm* form = FormOfWindow(event.window);
  if (!form || !form->Shown()) return;
  if (event.kind != EDisplayEventKind::Expose && BlockedByModal(*form)) return;
  form->HandleInput(event);
}

void TvgApplication::DispatchInput() {
  Display& display = Screen();
  DisplayEvent event;
  while (display.PollEvent(event)) Dispatch(event);
}

void TvgApplication::FireDueTimers() {
  const uint64_t now = Now();
  std::vector<TTimer*> due;
  for (TTimer* timer : timers_) {
    if (timer->Enabled() && timer->DueAt() <= now) due.push_back(timer);
  }
  std::stable_sort(due.begin(), due.end(),
                   [](const TTimer* a, const TTimer* b) { return a->DueAt() < b->DueAt(); });
  for (TTimer* timer : due) {
    // An earlier handler may have stopped or destroyed it.
    if (std::find(timers_.begin(), timers_.end(), timer) == timers_.end()) continue;
    if (timer->Enabled() && timer->DueAt() <= now) timer->Fire(Now());
  }
}

void TvgApplication::AdvanceClock(uint64_t milliseconds) {
  const uint64_t target = virtualNow_ + milliseconds;
  for (;;) {
    TTimer* next = nullptr;
    for (TTimer* timer : timers_) {
      if (!timer->Enabled() || timer->DueAt() > target) continue;
      if (!next || timer->DueAt() < next->DueAt()) next = timer;
    }
    if (!next) break;
    // Rounds pumped by a handler may have moved the clock on already; it never goes back.
    virtualNow_ = std::max(virtualNow_, next->DueAt());
    next->Fire(virtualNow_);
  }
  virtualNow_ = std::max(virtualNow_, target);
  RepaintChanged();
}

void TvgApplication::RepaintChanged() {
  for (TvgForm* form : forms_) {
    if (form->NeedsRepaint()) form->Repaint();
  }
}

void TvgApplication::ProcessMessages() {
  StartScriptFromEnvironment();
  DispatchInput();
  FireDueTimers();
  if (automation_) automation_->RunArrived(0);
  RepaintChanged();
}

uint32_t TvgApplication::MillisecondsToNextTimer() const {
  if (VirtualClock()) return kLongestIdle;  // virtual timers wait for the script's `wait`
  const uint64_t now = Now();
  uint64_t wait = kLongestIdle;
  for (const TTimer* timer : timers_) {
    if (!timer->Enabled()) continue;
    wait = std::min<uint64_t>(wait, timer->DueAt() > now ? timer->DueAt() - now : 0);
  }
  return static_cast<uint32_t>(wait);
}

void TvgApplication::Idle() {
  if (automation_ && automation_->MayStartCommand()) {
    if (Headless()) {
      // In memory nothing but the script can bring work.
      automation_->RunArrived(-1);
    } else if (!automation_->RunArrived(kScriptSlice)) {
      Screen().WaitEvent(kScriptSlice);
    }
    return;
  }
  if (automation_ && automation_->Ended() && Headless()) FinishScript();
  Screen().WaitEvent(MillisecondsToNextTimer());
}

void TvgApplication::FinishScript() {
  // The close request of the topmost window, confirming its question, as a person leaving the
  // program would; the loops unwind and come back here for the next window.
  TvgForm* form = TopmostShownForm();
  if (!form) ExitProcessWithCode(0);
  automation_->QueueAnswer("message", "yes");
  form->Close();
  if (form->Shown()) {
    std::fprintf(stderr, "The script ended and %s refused to close.\n", form->Name().c_str());
    ExitProcessWithCode(1);
  }
}

void TvgApplication::Run() {
  for (;;) {
    ProcessMessages();
    Idle();
  }
}

void TvgApplication::RunModal(TvgForm& form) {
  modalForms_.push_back(&form);
  if (automation_) automation_->OfferQueuedAnswer(form);
  while (form.Shown()) {
    ProcessMessages();
    if (form.Shown()) Idle();
  }
  std::erase(modalForms_, &form);
}

}  // namespace dbinst
