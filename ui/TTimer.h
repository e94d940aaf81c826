#pragma once

#include <cstdint>
#include <string>

#include "ui/TvgObject.h"

namespace dbinst {

// A window timer: fires OnTimer every Interval milliseconds while enabled, from the event loop
// only (never from another thread). An empty OnTimer is a detached handler; the timer then runs
// without effect.
class TTimer {
 public:
  explicit TTimer(std::string name);
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  // The properties a layout stores for a timer.
  static const TPropertyTable<TTimer>& StoredProperties();

  const std::string& Name() const { return name_; }
  bool Enabled() const { return enabled_; }
  // Enabling starts a new interval.
  void SetEnabled(bool enabled);
  uint32_t Interval() const { return interval_; }
  void SetInterval(uint32_t milliseconds);

  std::function<void(TTimer& sender)> OnTimer;

  // For the event loop: the clock time (ms) at which the timer is due next.
  uint64_t DueAt() const { return dueAt_; }
  void Fire(uint64_t now);

 private:
  std::string name_;
  bool enabled_ = true;
  uint32_t interval_ = 1000;
  uint64_t dueAt_ = 0;
};

}  // namespace dbinst
