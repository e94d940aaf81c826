#pragma once

#include <sys/types.h>

#include <string>

namespace dbinst::test {

// A real sleeping process started from a copy of sleep, under any argv[0]; killed and reaped at
// the end.
class SleepingProcess {
 public:
  SleepingProcess(const std::string& executable, const std::string& argv0);
  ~SleepingProcess();
  SleepingProcess(const SleepingProcess&) = delete;
  SleepingProcess& operator=(const SleepingProcess&) = delete;
  pid_t pid() const { return pid_; }

 private:
  pid_t pid_ = 0;
};

}  // namespace dbinst::test
