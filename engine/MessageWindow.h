#pragma once

#include <cstdint>
#include <string_view>

namespace dbinst {

// The installer's own modal message window, as the engine uses it once the window exists.
class MessageWindow {
 public:
  virtual ~MessageWindow() = default;
  // A question with Yes and No; returns when the window has closed.
  virtual void Ask(std::string_view text, std::string_view caption, bool yesIsDefault) = 0;
  // A notice with OK; returns when the window has closed.
  virtual void Tell(std::string_view text, std::string_view caption) = 0;
  // 1 when the last question was answered with Yes, 0 otherwise.
  virtual uint8_t Answer() const = 0;
};

}  // namespace dbinst
