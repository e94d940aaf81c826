#pragma once

#include <functional>
#include <string_view>

namespace dbinst {

// The system message box (named apart from the Win32 MessageBox macro).
class SystemMessageBox {
 public:
  virtual ~SystemMessageBox() = default;
  // An OK button and the exclamation icon.
  virtual void Tell(std::string_view text, std::string_view caption) = 0;
  // Yes and No with No as the default; true for yes.
  virtual bool AskYesNo(std::string_view text, std::string_view caption) = 0;
};

// Ends the process at once with the code, as ExitProcess does.
[[noreturn]] void ExitProcessWithCode(int code);

// Runs just before ExitProcessWithCode ends the process (a script answers its commands there).
void SetBeforeExit(std::function<void()> hook);

}  // namespace dbinst
