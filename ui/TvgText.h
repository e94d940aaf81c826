#pragma once

#include <string>
#include <string_view>

namespace dbinst {

// A line of text on screen.
class TvgText {
 public:
  virtual ~TvgText() = default;

  const std::string& Text() const { return text_; }
  virtual void SetText(std::string_view text) { text_ = text; }

 private:
  std::string text_;
};

}  // namespace dbinst
