#include "ui/TvgApplication.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/Display.h"
#include "platform/ExitCodes.h"
#include "platform/HeadlessDisplay.h"
#include "ui/ScriptDriver.h"
#include "ui/TTimer.h"
#include "ui/TvgForm.h"

namespace dbinst {
namespace {

// The longest the idle loop sleeps without a timer due: the SDL display still wakes at input.
constexpr uint32_t kLongestIdle = 500;
// With a script and a real display both can bring work; the loop looks at each in turn.
constexpr int kScriptSlice = 10;

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

}  // namespace

TvgApplication::TvgApplication() = default;

TvgApplication::~TvgApplication() = default;

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
  const_cast<TvgApplication*>(this)->StartScriptOnce();
  return VirtualClock() ? virtualNow_ : Screen().Ticks();
}

bool TvgApplication::VirtualClock() const { return script_ && !script_->Ended(); }

void TvgApplication::SetScriptStarter(std::function<void(TvgApplication&)> starter) {
  scriptStarter_ = std::move(starter);
}

void TvgApplication::StartScriptOnce() {
  if (scriptChecked_) return;
  scriptChecked_ = true;
  if (scriptStarter_) scriptStarter_(*this);
}

void TvgApplication::StartScript(std::unique_ptr<ScriptDriver> script) {
  scriptChecked_ = true;
  virtualNow_ = 0;
  script_ = std::move(script);
  for (TTimer* timer : timers_) {
    // Timers armed on the real clock start over on the virtual one.
    if (timer->Enabled()) {
      timer->SetEnabled(false);
      timer->SetEnabled(true);
    }
  }
}

void TvgApplication::StopScript() { script_.reset(); }

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
  StartScriptOnce();
  DispatchInput();
  FireDueTimers();
  if (script_) script_->RunArrived(0);
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
  if (script_ && script_->MayStartCommand()) {
    if (Headless()) {
      // In memory nothing but the script can bring work.
      script_->RunArrived(-1);
    } else if (!script_->RunArrived(kScriptSlice)) {
      Screen().WaitEvent(kScriptSlice);
    }
    return;
  }
  if (script_ && script_->Ended() && Headless()) script_->Finish();
  Screen().WaitEvent(MillisecondsToNextTimer());
}

void TvgApplication::Run() {
  for (;;) {
    ProcessMessages();
    Idle();
  }
}

void TvgApplication::RunModal(TvgForm& form) {
  modalForms_.push_back(&form);
  if (script_) script_->ModalStarted(form);
  while (form.Shown()) {
    ProcessMessages();
    if (form.Shown()) Idle();
  }
  std::erase(modalForms_, &form);
}

}  // namespace dbinst
