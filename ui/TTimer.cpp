#include "ui/TTimer.h"

#include "ui/TvgApplication.h"

namespace dbinst {

TTimer::TTimer(std::string name) : name_(std::move(name)) {
  TvgApplication& application = TvgApplication::Instance();
  application.AddTimer(*this);
  dueAt_ = application.Now() + interval_;
}

TTimer::~TTimer() { TvgApplication::Instance().RemoveTimer(*this); }

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled_) dueAt_ = TvgApplication::Instance().Now() + interval_;
}

void TTimer::SetInterval(uint32_t milliseconds) {
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  if (enabled_) dueAt_ = TvgApplication::Instance().Now() + interval_;
}

void TTimer::Fire(uint64_t now) {
  if (!enabled_) return;
  // Re-armed before the handler runs, so the rounds it pumps do not fire it again, and a handler
  // that runs long leaves one due firing behind, never a backlog.
  dueAt_ = now + interval_;
  // A copy, because the handler may detach itself.
  const std::function<void(TTimer&)> handler = OnTimer;
  if (handler) handler(*this);
}

}  // namespace dbinst
