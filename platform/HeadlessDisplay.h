#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Display.h"

namespace dbinst {

// One window of the in-memory display, keeping the last frame it was given.
class HeadlessWindow : public DisplayWindow {
 public:
  HeadlessWindow(uint32_t id, int width, int height) : id_(id), width_(width), height_(height) {}
  uint32_t Id() const override { return id_; }
  void SetTitle(std::string_view title) override { title_ = std::string(title); }
  void SetPosition(ScreenPoint topLeft) override { position_ = topLeft; }
  ScreenPoint Position() const override { return position_; }
  void Show() override { shown_ = true; }
  void Hide() override { shown_ = false; }
  void Raise() override { ++raised_; }
  bool Shown() const override { return shown_; }
  void Present(const uint8_t* pixels, int width, int height, int stride) override;
  void SetDragTest(std::function<bool(float x, float y)> test) override { dragTest_ = test; }

  const std::string& Title() const { return title_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The last frame as presented, rows of width * 4 bytes; empty before the first.
  const std::vector<uint8_t>& Frame() const { return frame_; }
  int FrameWidth() const { return frameWidth_; }
  int FrameHeight() const { return frameHeight_; }
  int Presented() const { return presented_; }
  bool Draggable(float x, float y) const { return dragTest_ && dragTest_(x, y); }

 private:
  uint32_t id_;
  int width_;
  int height_;
  std::string title_;
  ScreenPoint position_;
  bool shown_ = false;
  int raised_ = 0;
  std::vector<uint8_t> frame_;
  int frameWidth_ = 0;
  int frameHeight_ = 0;
  int presented_ = 0;
  std::function<bool(float x, float y)> dragTest_;
};

// A display in memory: a 1920 x 1080 screen, windows that keep their last frame, and an input
// queue that only injected events fill.
class HeadlessDisplay : public Display {
 public:
  explicit HeadlessDisplay(float scale = ScaleFromEnvironment(1.0f));
  bool Headless() const override { return true; }
  float Scale() const override { return scale_; }
  ScreenPoint ScreenSize() const override { return {1920, 1080}; }
  std::unique_ptr<DisplayWindow> CreateWindow(int clientWidth, int clientHeight) override;
  bool PollEvent(DisplayEvent& event) override;
  void WaitEvent(uint32_t milliseconds) override;
  void Inject(const DisplayEvent& event) override { queue_.push_back(event); }
  uint64_t Ticks() const override;

 private:
  float scale_;
  uint32_t nextId_ = 1;
  std::deque<DisplayEvent> queue_;
};

}  // namespace dbinst
