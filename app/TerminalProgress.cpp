#include "app/TerminalProgress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace dbinst {

std::string TTerminalProgress::Line(int percent, std::string_view activity, size_t previousLength) {
  char number[8];
  std::snprintf(number, sizeof number, "%3d%%", std::clamp(percent, 0, 100));
  std::string line = std::string(number) + " " + std::string(activity);
  const size_t length = line.size();
  if (length < previousLength) line.append(previousLength - length, ' ');
  return "\r" + line;
}

void TTerminalProgress::ShowOverall(float maximum, float position) {
  const int percent = maximum > 0 ? static_cast<int>(std::lround(position / maximum * 100.0f)) : 0;
  if (percent == percent_) return;
  percent_ = percent;
  Write();
}

void TTerminalProgress::ShowActivity(std::string_view text) {
  if (text == activity_) return;
  activity_ = std::string(text);
  Write();
}

void TTerminalProgress::Write() {
  const std::string line = Line(std::max(percent_, 0), activity_, written_);
  written_ = line.size() - 1;
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
}

void TTerminalProgress::Finish() {
  if (written_ > 0) std::fputs("\n", stderr);
  written_ = 0;
}

void TProgressViews::ShowOverall(float maximum, float position) {
  for (ProgressView* view : views_) view->ShowOverall(maximum, position);
}

void TProgressViews::ShowItem(float maximum, float position) {
  for (ProgressView* view : views_) view->ShowItem(maximum, position);
}

void TProgressViews::ShowActivity(std::string_view text) {
  for (ProgressView* view : views_) view->ShowActivity(text);
}

void TProgressViews::ProcessMessages() {
  for (ProgressView* view : views_) view->ProcessMessages();
}

}  // namespace dbinst
