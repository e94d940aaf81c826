#include "tests/support/SleepingProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace dbinst::test {

SleepingProcess::SleepingProcess(const std::string& executable, const std::string& argv0) {
  std::string seconds = "60";
  char* argv[] = {const_cast<char*>(argv0.c_str()), seconds.data(), nullptr};
  if (::posix_spawn(&pid_, executable.c_str(), nullptr, nullptr, argv, environ) != 0) pid_ = 0;
}

SleepingProcess::~SleepingProcess() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
}

}  // namespace dbinst::test
