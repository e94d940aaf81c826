#include "platform/prefix/SdlMessageBox.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace dbinst {
namespace {

bool DisplayNamed() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

void WriteToStandardError(std::string_view text, std::string_view caption) {
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
               static_cast<int>(text.size()), text.data());
}

}  // namespace

SdlMessageBox::SdlMessageBox() = default;

SdlMessageBox::~SdlMessageBox() {
  if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlMessageBox::HasDisplay() {
  if (!probed_) {
    probed_ = true;
    videoStarted_ = DisplayNamed() && SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
  }
  return videoStarted_;
}

void SdlMessageBox::Tell(std::string_view text, std::string_view caption) {
  const std::string message(text);
  const std::string title(caption);
  if (HasDisplay() && SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, title.c_str(),
                                               message.c_str(), nullptr) == 0) {
    return;
  }
  WriteToStandardError(text, caption);
}

bool SdlMessageBox::AskYesNo(std::string_view text, std::string_view caption) {
  const std::string message(text);
  const std::string title(caption);
  if (HasDisplay()) {
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0,
         "No"},
        {0, 1, "Yes"},
    };
    const SDL_MessageBoxData box = {
        SDL_MESSAGEBOX_INFORMATION, nullptr, title.c_str(), message.c_str(), 2, buttons, nullptr};
    int answer = 0;
    if (SDL_ShowMessageBox(&box, &answer) == 0) return answer == 1;
  }
  // Without a display no one can answer, so the question reads as no.
  WriteToStandardError(text, caption);
  std::fprintf(stderr, "(no display to answer on: no)\n");
  return false;
}

}  // namespace dbinst
