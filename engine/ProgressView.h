#pragma once

#include <string_view>

namespace dbinst {

// Whatever shows an installation while it runs: the wizard's two bars and activity line, or a
// line on a terminal. Bars run from 0 to their maximum, in single precision as the wizard's do.
class ProgressView {
 public:
  virtual ~ProgressView() = default;
  // The bar of the whole installation.
  virtual void ShowOverall(float maximum, float position) = 0;
  // The bar of the archive or database being worked on.
  virtual void ShowItem(float maximum, float position) = 0;
  virtual void ShowActivity(std::string_view text) = 0;
  // A point where the installation lets the program live: input, timers, repaints.
  virtual void ProcessMessages() = 0;
};

}  // namespace dbinst
