#pragma once

#include <functional>

namespace dbinst {

// Ends the process at once with the code, as ExitProcess does.
[[noreturn]] void ExitProcessWithCode(int code);

// Runs just before ExitProcessWithCode ends the process (a script answers its commands there).
void SetBeforeExit(std::function<void()> hook);

}  // namespace dbinst
