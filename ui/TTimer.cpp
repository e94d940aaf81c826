#include "ui/TTimer.h"

#include "ui/PropertyTable.h"
#include "ui/TvgApplication.h"

namespace dbinst {

const TPropertyTable<TTimer>& TTimer::StoredProperties() {
  using P = const TStoredProperty&;
  static const TPropertyTable<TTimer> table =
      TPropertiesOf<TTimer>("TTimer", nullptr)
          .Stored("Enabled", kTrueOrFalse, [](TTimer& timer, P p) { timer.SetEnabled(p.Bool()); })
          .Stored("Interval", "a number of milliseconds",
                  [](TTimer& timer, P p) {
                    timer.SetInterval(static_cast<uint32_t>(p.NumberFromTo(0, 0x7FFFFFFF)));
                  })
          .Stored("OnTimer", "the name of a timer handler of the window",
                  [](TTimer& timer, P p) { timer.OnTimer = p.TimerHandler(); })
          .Table();
  return table;
}

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
