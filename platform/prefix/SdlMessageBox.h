#pragma once

#include "platform/MessageBox.h"

namespace dbinst {

// SDL2's message box when a display is there, standard error otherwise.
class SdlMessageBox : public SystemMessageBox {
 public:
  SdlMessageBox();
  ~SdlMessageBox() override;
  SdlMessageBox(const SdlMessageBox&) = delete;
  SdlMessageBox& operator=(const SdlMessageBox&) = delete;

  void Tell(std::string_view text, std::string_view caption) override;
  bool AskYesNo(std::string_view text, std::string_view caption) override;

 private:
  bool HasDisplay();

  bool probed_ = false;
  bool videoStarted_ = false;
};

}  // namespace dbinst
