#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/ProgressView.h"

namespace dbinst {

// The installation's progress as one line on a terminal, rewritten in place: the percent of the
// whole and the activity. Written only when either changes.
class TTerminalProgress : public ProgressView {
 public:
  void ShowOverall(float maximum, float position) override;
  void ShowItem(float, float) override {}
  void ShowActivity(std::string_view text) override;
  void ProcessMessages() override {}
  // Ends the line, so that what follows starts on a line of its own.
  void Finish();

  // "\r 42% Installation of Tiles database" with blanks over what a longer line left.
  static std::string Line(int percent, std::string_view activity, size_t previousLength);

 private:
  void Write();

  int percent_ = -1;
  std::string activity_;
  size_t written_ = 0;
};

// Several views shown as one: the small window and the terminal line.
class TProgressViews : public ProgressView {
 public:
  void Add(ProgressView& view) { views_.push_back(&view); }
  void ShowOverall(float maximum, float position) override;
  void ShowItem(float maximum, float position) override;
  void ShowActivity(std::string_view text) override;
  void ProcessMessages() override;

 private:
  std::vector<ProgressView*> views_;
};

}  // namespace dbinst
