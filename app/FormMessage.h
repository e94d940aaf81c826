#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/MessageWindow.h"
#include "ui/Automation.h"
#include "ui/TvgForm.h"

namespace dbinst {

class ResourceModule;
class TvgButton;
class TvgImage;

// The installer's own message window: a question with Yes and No, or a notice with OK, shown
// modally over the main window. Made once and reused for every message.
class TFormMessage : public TvgForm, public MessageWindow {
 public:
  // Loads the layout TFORMMESSAGE from the resources; throws EFormLoadError when it is missing.
  TFormMessage(const ResourceModule& resources, TvgForm* owner);

  void Ask(std::string_view text, std::string_view caption, bool yesIsDefault) override;
  void Tell(std::string_view text, std::string_view caption) override;
  uint8_t Answer() const override { return answer_; }

  void ButtonYesClick(TvgObject& sender);
  void ButtonNoClick(TvgObject& sender);
  void ButtonOkClick(TvgObject& sender);

 private:
  // "yes", "no" and "ok" click their buttons, "close" closes the window without an answer.
  bool ApplyScriptedAnswer(std::string_view answer, std::string& error);
  // The steps Ask and Tell share: picture, texts and which buttons show.
  void Prepare(TvgImage& specimen, std::string_view text, std::string_view caption, bool question);

  uint8_t answer_ = 0;
  ScriptedDialog scripted_{*this, "message", [this](std::string_view answer, std::string& error) {
                             return ApplyScriptedAnswer(answer, error);
                           }};
};

}  // namespace dbinst
