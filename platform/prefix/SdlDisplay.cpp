#include "platform/prefix/SdlDisplay.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

namespace dbinst {
namespace {

bool DisplayNamed() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

float DesktopScale() {
  float dpi = 0;
  if (SDL_GetDisplayDPI(0, nullptr, &dpi, nullptr) != 0 || !(dpi > 0)) return 1.0f;
  return std::max(1.0f, dpi / 96.0f);
}

std::optional<EDisplayKey> KeyOf(const SDL_KeyboardEvent& key) {
  const bool shift = (key.keysym.mod & KMOD_SHIFT) != 0;
  const bool alt = (key.keysym.mod & KMOD_ALT) != 0;
  switch (key.keysym.sym) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return EDisplayKey::Enter;
    case SDLK_ESCAPE:
      return EDisplayKey::Escape;
    case SDLK_SPACE:
      return EDisplayKey::Space;
    case SDLK_TAB:
      return shift ? EDisplayKey::ShiftTab : EDisplayKey::Tab;
    case SDLK_LEFT:
      return EDisplayKey::Left;
    case SDLK_RIGHT:
      return EDisplayKey::Right;
    case SDLK_UP:
      return EDisplayKey::Up;
    case SDLK_DOWN:
      return EDisplayKey::Down;
    case SDLK_F4:
      if (alt) return EDisplayKey::AltF4;
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

class SdlWindow : public DisplayWindow {
 public:
  SdlWindow(SDL_Window* window, float scale) : window_(window), scale_(scale) {}
  ~SdlWindow() override { SDL_DestroyWindow(window_); }
  SdlWindow(const SdlWindow&) = delete;
  SdlWindow& operator=(const SdlWindow&) = delete;

  uint32_t Id() const override { return SDL_GetWindowID(window_); }
  void SetTitle(std::string_view title) override {
    SDL_SetWindowTitle(window_, std::string(title).c_str());
  }
  void SetPosition(ScreenPoint topLeft) override {
    SDL_SetWindowPosition(window_, topLeft.x, topLeft.y);
  }
  ScreenPoint Position() const override {
    ScreenPoint point;
    SDL_GetWindowPosition(window_, &point.x, &point.y);
    return point;
  }
  void Show() override { SDL_ShowWindow(window_); }
  void Hide() override { SDL_HideWindow(window_); }
  void Raise() override { SDL_RaiseWindow(window_); }
  bool Shown() const override { return (SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN) != 0; }
  void Present(const uint8_t* pixels, int width, int height, int stride) override;
  void SetDragTest(std::function<bool(float x, float y)> test) override;

 private:
  static SDL_HitTestResult HitTest(SDL_Window* window, const SDL_Point* area, void* data);

  SDL_Window* window_;
  float scale_;
  std::function<bool(float x, float y)> dragTest_;
};

void SdlWindow::Present(const uint8_t* pixels, int width, int height, int stride) {
  SDL_Surface* target = SDL_GetWindowSurface(window_);
  if (!target) return;
  // Cairo's ARGB32 in native byte order is SDL's ARGB8888 on every machine we run on.
  SDL_Surface* frame = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<uint8_t*>(pixels), width, height, 32, stride, SDL_PIXELFORMAT_ARGB8888);
  if (!frame) return;
  SDL_SetSurfaceBlendMode(frame, SDL_BLENDMODE_NONE);
  SDL_BlitSurface(frame, nullptr, target, nullptr);
  SDL_FreeSurface(frame);
  SDL_UpdateWindowSurface(window_);
}

void SdlWindow::SetDragTest(std::function<bool(float x, float y)> test) {
  dragTest_ = std::move(test);
  SDL_SetWindowHitTest(window_, dragTest_ ? &SdlWindow::HitTest : nullptr, this);
}

SDL_HitTestResult SdlWindow::HitTest(SDL_Window*, const SDL_Point* area, void* data) {
  const auto* self = static_cast<const SdlWindow*>(data);
  const bool drag = self->dragTest_ && self->dragTest_(static_cast<float>(area->x) / self->scale_,
                                                       static_cast<float>(area->y) / self->scale_);
  return drag ? SDL_HITTEST_DRAGGABLE : SDL_HITTEST_NORMAL;
}

}  // namespace

std::unique_ptr<SdlDisplay> SdlDisplay::Open() {
  if (!DisplayNamed()) return nullptr;
  // Video only: SDL_INIT_TIMER would start a timer thread that the one-threaded loop never needs.
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
  return std::unique_ptr<SdlDisplay>(new SdlDisplay(ScaleFromEnvironment(DesktopScale())));
}

// SDL's video stays up for the process once started: quitting it unloads the X libraries it
// opened, and a process has one display for its life anyway.
SdlDisplay::~SdlDisplay() = default;

ScreenPoint SdlDisplay::ScreenSize() const {
  SDL_Rect bounds{0, 0, 1920, 1080};
  SDL_GetDisplayUsableBounds(0, &bounds);
  return {bounds.w, bounds.h};
}

std::unique_ptr<DisplayWindow> SdlDisplay::CreateWindow(int clientWidth, int clientHeight) {
  const int width = static_cast<int>(std::lround(clientWidth * scale_));
  const int height = static_cast<int>(std::lround(clientHeight * scale_));
  SDL_Window* window = SDL_CreateWindow("", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                        height, SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
  if (!window) return nullptr;
  return std::make_unique<SdlWindow>(window, scale_);
}

void SdlDisplay::Translate(const SDL_Event& event) {
  DisplayEvent out;
  switch (event.type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      if (event.button.button != SDL_BUTTON_LEFT) return;
      out.kind = event.type == SDL_MOUSEBUTTONDOWN ? EDisplayEventKind::MouseDown
                                                   : EDisplayEventKind::MouseUp;
      out.window = event.button.windowID;
      out.x = static_cast<float>(event.button.x) / scale_;
      out.y = static_cast<float>(event.button.y) / scale_;
      break;
    case SDL_MOUSEMOTION:
      out.kind = EDisplayEventKind::MouseMove;
      out.window = event.motion.windowID;
      out.x = static_cast<float>(event.motion.x) / scale_;
      out.y = static_cast<float>(event.motion.y) / scale_;
      break;
    case SDL_KEYDOWN: {
      const std::optional<EDisplayKey> key = KeyOf(event.key);
      if (!key) return;
      out.kind = EDisplayEventKind::Key;
      out.window = event.key.windowID;
      out.key = *key;
      break;
    }
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
        out.kind = EDisplayEventKind::CloseRequest;
      } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED) {
        out.kind = EDisplayEventKind::Expose;
      } else {
        return;
      }
      out.window = event.window.windowID;
      break;
    default:
      return;
  }
  queue_.push_back(out);
}

void SdlDisplay::DrainSdlEvents() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) Translate(event);
}

bool SdlDisplay::PollEvent(DisplayEvent& event) {
  DrainSdlEvents();
  if (queue_.empty()) return false;
  event = queue_.front();
  queue_.pop_front();
  return true;
}

void SdlDisplay::WaitEvent(uint32_t milliseconds) {
  if (!queue_.empty()) return;
  SDL_Event event;
  const int timeout = static_cast<int>(std::min<uint32_t>(milliseconds, 1u << 30));
  if (SDL_WaitEventTimeout(&event, timeout)) Translate(event);
}

uint64_t SdlDisplay::Ticks() const { return SDL_GetTicks64(); }

}  // namespace dbinst
