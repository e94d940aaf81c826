#include "app/FormMessage.h"

#include <optional>

#include "env/GeneralMod.h"
#include "env/TextKeys.h"
#include "payload/ResourceFile.h"
#include "ui/TvgControls.h"
#include "ui/TvgShapes.h"
#include "ui/TvgText.h"

namespace dbinst {
namespace {

constexpr std::string_view kLayoutResource = "TFORMMESSAGE";

}  // namespace

TFormMessage::TFormMessage(const ResourceModule& resources, TvgForm* owner) {
  Bind("ButtonYesClick", TNotifyEvent([this](TvgObject& sender) { ButtonYesClick(sender); }));
  Bind("ButtonNoClick", TNotifyEvent([this](TvgObject& sender) { ButtonNoClick(sender); }));
  Bind("ButtonOkClick", TNotifyEvent([this](TvgObject& sender) { ButtonOkClick(sender); }));
  const std::optional<std::string> layout = ReadResourceBytes(resources, kLayoutResource);
  if (!layout)
    throw EFormLoadError("the installer carries no layout " + std::string(kLayoutResource));
  LoadLayout(*layout);
  SetOwner(owner);
  Object<TvgButton>("ButtonOk").SetText(GeneralMod->Text(TextKey::Ok));
  Object<TvgButton>("ButtonYes").SetText(GeneralMod->Text(TextKey::Yes));
  Object<TvgButton>("ButtonNo").SetText(GeneralMod->Text(TextKey::No));
}

void TFormMessage::Prepare(TvgImage& specimen, std::string_view text, std::string_view caption,
                           bool question) {
  TvgImage& illustration = Object<TvgImage>("ImageIllustration");
  illustration.SetPicture(specimen.Picture());
  illustration.SetVisible(true);
  Object<TvgText>("TextMessage").SetText(text);
  Object<TvgText>("TextWindowTitle").SetText(caption);
  SetCaption(std::string(caption));
  Object<TvgButton>("ButtonOk").SetVisible(!question);
  Object<TvgButton>("ButtonYes").SetVisible(question);
  Object<TvgButton>("ButtonNo").SetVisible(question);
}

void TFormMessage::Ask(std::string_view text, std::string_view caption, bool yesIsDefault) {
  Prepare(Object<TvgImage>("ImageSpecimenQuestion"), text, caption, true);
  Scene().SetActiveControl(&Object<TvgButton>(yesIsDefault ? "ButtonYes" : "ButtonNo"));
  answer_ = 0;
  ShowModal();
}

// Answer stays as the last question left it.
void TFormMessage::Tell(std::string_view text, std::string_view caption) {
  Prepare(Object<TvgImage>("ImageSpecimenWarning"), text, caption, false);
  Scene().SetActiveControl(&Object<TvgButton>("ButtonOk"));
  ShowModal();
}

void TFormMessage::ButtonYesClick(TvgObject&) {
  answer_ = 1;
  Close();
}

void TFormMessage::ButtonNoClick(TvgObject&) { Close(); }

void TFormMessage::ButtonOkClick(TvgObject&) { Close(); }

bool TFormMessage::ApplyScriptedAnswer(std::string_view answer, std::string& error) {
  if (!Shown()) {
    error = "the message window is not shown";
    return false;
  }
  // The buttons shown may have changed since the last paint; the click aims at where they are now.
  Scene().Layout();
  if (answer == "yes") return ClickNamed(*this, "ButtonYes", error);
  if (answer == "no") return ClickNamed(*this, "ButtonNo", error);
  if (answer == "ok") return ClickNamed(*this, "ButtonOk", error);
  if (answer == "close") {
    Close();
    return true;
  }
  error = "the message window has no answer '" + std::string(answer) + "'";
  return false;
}

}  // namespace dbinst
