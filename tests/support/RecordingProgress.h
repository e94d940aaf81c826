// A progress view that keeps everything it was shown, as the wizard's bars would show it.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ProgressView.h"

namespace dbinst::test {

struct RecordedBar {
  float Max() const { return max; }
  float Value() const { return value; }
  bool Passed(float wanted) const {
    return std::find(values.begin(), values.end(), wanted) != values.end();
  }

  float max = 100;
  float value = 0;
  // Every position shown, in order, unchanged ones included.
  std::vector<float> values;
};

class RecordingProgress : public ProgressView {
 public:
  void ShowOverall(float maximum, float position) override { Show(overall, maximum, position); }
  void ShowItem(float maximum, float position) override { Show(item, maximum, position); }
  void ShowActivity(std::string_view text) override { activity = std::string(text); }
  void ProcessMessages() override { ++pumped; }

  RecordedBar overall;
  RecordedBar item;
  std::string activity;
  int pumped = 0;

 private:
  static void Show(RecordedBar& bar, float maximum, float position) {
    bar.max = maximum;
    bar.value = position;
    bar.values.push_back(position);
  }
};

}  // namespace dbinst::test
