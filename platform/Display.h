#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace dbinst {

class ScriptInput;

enum class EDisplayEventKind { MouseDown, MouseUp, MouseMove, Key, CloseRequest, Expose };

enum class EDisplayKey { Enter, Escape, Space, Tab, ShiftTab, Left, Right, Up, Down, AltF4 };

// One input event of a window; points are in scene units (screen pixels divided by the scale).
struct DisplayEvent {
  EDisplayEventKind kind = EDisplayEventKind::Expose;
  uint32_t window = 0;
  float x = 0;
  float y = 0;
  EDisplayKey key = EDisplayKey::Enter;
};

struct ScreenPoint {
  int x = 0;
  int y = 0;
};

// One frameless top-level window. Sizes and positions are screen pixels unless said otherwise.
class DisplayWindow {
 public:
  virtual ~DisplayWindow() = default;
  virtual uint32_t Id() const = 0;
  virtual void SetTitle(std::string_view title) = 0;
  virtual void SetPosition(ScreenPoint topLeft) = 0;
  virtual ScreenPoint Position() const = 0;
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual void Raise() = 0;
  virtual bool Shown() const = 0;
  // One frame: premultiplied ARGB32 pixels in native byte order, as Cairo's image surfaces hold.
  virtual void Present(const uint8_t* pixels, int width, int height, int stride) = 0;
  // Asked for a point in scene units: whether pressing there drags the window.
  virtual void SetDragTest(std::function<bool(float x, float y)> test) = 0;
};

// The machine's windows, input queue and clock.
class Display {
 public:
  virtual ~Display() = default;
  virtual bool Headless() const = 0;
  // Screen pixels per scene unit.
  virtual float Scale() const = 0;
  virtual ScreenPoint ScreenSize() const = 0;
  // A hidden window whose client area is the size in scene units times the scale.
  virtual std::unique_ptr<DisplayWindow> CreateWindow(int clientWidth, int clientHeight) = 0;
  // Takes the oldest pending event; false when none is pending.
  virtual bool PollEvent(DisplayEvent& event) = 0;
  // Returns when an event is pending or the time has passed.
  virtual void WaitEvent(uint32_t milliseconds) = 0;
  // Appends an event to the same queue that a person's input goes through.
  virtual void Inject(const DisplayEvent& event) = 0;
  // Milliseconds since an arbitrary start, never going back.
  virtual uint64_t Ticks() const = 0;
};

// DBINST_SCALE when it holds a number from 1 to 4, else the fallback.
float ScaleFromEnvironment(float fallback);

// What the machine offers the toolkit; the program's entry sets it before the first window.
struct UiServices {
  // Null when the machine has no display to show windows on.
  std::function<std::unique_ptr<Display>()> openDisplay;
  // The script of DBINST_SCRIPT ("-" for standard input); null with the reason in error.
  std::function<std::unique_ptr<ScriptInput>(const std::string& source, std::string& error)>
      openScript;
};

void SetUiServices(UiServices services);
const UiServices& CurrentUiServices();

}  // namespace dbinst
