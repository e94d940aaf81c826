#pragma once

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

}  // namespace dbinst
