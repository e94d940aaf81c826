#pragma once

#include <functional>

namespace dbinst {

// Ends the process at once with the code, as ExitProcess does.
[[noreturn]] void ExitProcessWithCode(int code);

// Runs just before ExitProcessWithCode ends the process, the last one added first (a script
// answers its commands there, the log is written to its file).
void AddBeforeExit(std::function<void()> hook);

}  // namespace dbinst
