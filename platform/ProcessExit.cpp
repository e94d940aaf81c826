#include "platform/ProcessExit.h"

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace dbinst {
namespace {

std::vector<std::function<void()>>& BeforeExit() {
  static std::vector<std::function<void()>> hooks;
  return hooks;
}

}  // namespace

void AddBeforeExit(std::function<void()> hook) { BeforeExit().push_back(std::move(hook)); }

void ExitProcessWithCode(int code) {
  // Taken out first, so that an exit from inside a hook does not run the hooks again.
  std::vector<std::function<void()>> hooks = std::exchange(BeforeExit(), {});
  for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) (*it)();
  std::fflush(nullptr);
  std::exit(code);
}

}  // namespace dbinst
