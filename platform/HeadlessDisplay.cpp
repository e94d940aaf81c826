#include "platform/HeadlessDisplay.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

namespace dbinst {

void HeadlessWindow::Present(const uint8_t* pixels, int width, int height, int stride) {
  if (width <= 0 || height <= 0 || stride < width * 4) return;
  const size_t row = static_cast<size_t>(width) * 4;
  frame_.resize(row * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    std::memcpy(frame_.data() + row * static_cast<size_t>(y),
                pixels + static_cast<size_t>(stride) * static_cast<size_t>(y), row);
  }
  frameWidth_ = width;
  frameHeight_ = height;
  ++presented_;
}

HeadlessDisplay::HeadlessDisplay(float scale) : scale_(scale) {}

std::unique_ptr<DisplayWindow> HeadlessDisplay::CreateWindow(int clientWidth, int clientHeight) {
  const int width = static_cast<int>(std::lround(clientWidth * scale_));
  const int height = static_cast<int>(std::lround(clientHeight * scale_));
  return std::make_unique<HeadlessWindow>(nextId_++, width, height);
}

bool HeadlessDisplay::PollEvent(DisplayEvent& event) {
  if (queue_.empty()) return false;
  event = queue_.front();
  queue_.pop_front();
  return true;
}

void HeadlessDisplay::WaitEvent(uint32_t milliseconds) {
  // Nothing but Inject fills the queue, and nothing injects while the one thread sleeps here.
  if (queue_.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

uint64_t HeadlessDisplay::Ticks() const {
  static const auto start = std::chrono::steady_clock::now();
  const auto elapsed = std::chrono::steady_clock::now() - start;
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

}  // namespace dbinst
