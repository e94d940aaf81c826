#include "platform/ProcessExit.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace dbinst {
namespace {

std::function<void()>& BeforeExit() {
  static std::function<void()> hook;
  return hook;
}

}  // namespace

void SetBeforeExit(std::function<void()> hook) { BeforeExit() = std::move(hook); }

void ExitProcessWithCode(int code) {
  // Taken out first, so that an exit from inside the hook does not run it again.
  if (std::function<void()> hook = std::exchange(BeforeExit(), nullptr)) hook();
  std::fflush(nullptr);
  std::exit(code);
}

}  // namespace dbinst
