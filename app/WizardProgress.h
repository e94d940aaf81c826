#pragma once

#include <string_view>

#include "engine/ProgressView.h"

namespace dbinst {

class TvgProgressBar;
class TvgText;

// The progress page as the engine sees it: its two bars and its activity line, with the
// application's messages processed wherever the installation lets the program live.
class TWizardProgress : public ProgressView {
 public:
  TWizardProgress(TvgProgressBar& mainBar, TvgProgressBar& subBar, TvgText& activity);

  void ShowOverall(float maximum, float position) override;
  void ShowItem(float maximum, float position) override;
  void ShowActivity(std::string_view text) override;
  void ProcessMessages() override;

 private:
  TvgProgressBar& mainBar_;
  TvgProgressBar& subBar_;
  TvgText& activity_;
};

}  // namespace dbinst
