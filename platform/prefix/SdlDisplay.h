#pragma once

#include <deque>
#include <map>
#include <memory>

#include "platform/Display.h"

union SDL_Event;

namespace dbinst {

// Windows on the desktop through SDL2, video only: no SDL timer threads, events waited for with
// a timeout up to the next due timer.
class SdlDisplay : public Display {
 public:
  // Null when no display is named (DISPLAY, WAYLAND_DISPLAY) or SDL's video cannot start.
  static std::unique_ptr<SdlDisplay> Open();
  ~SdlDisplay() override;
  SdlDisplay(const SdlDisplay&) = delete;
  SdlDisplay& operator=(const SdlDisplay&) = delete;

  bool Headless() const override { return false; }
  float Scale() const override { return scale_; }
  ScreenPoint ScreenSize() const override;
  std::unique_ptr<DisplayWindow> CreateWindow(int clientWidth, int clientHeight) override;
  bool PollEvent(DisplayEvent& event) override;
  void WaitEvent(uint32_t milliseconds) override;
  void Inject(const DisplayEvent& event) override { queue_.push_back(event); }
  uint64_t Ticks() const override;

 private:
  explicit SdlDisplay(float scale) : scale_(scale) {}
  // Moves SDL's pending events into our queue, behind what is there already.
  void DrainSdlEvents();
  void Translate(const ::SDL_Event& event);

  float scale_;
  std::deque<DisplayEvent> queue_;
};

}  // namespace dbinst
