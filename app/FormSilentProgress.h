#pragma once

#include <memory>
#include <string_view>

#include "ui/TvgForm.h"

namespace dbinst {

class ResourceModule;
class TWizardProgress;
class ProgressView;

inline constexpr std::string_view kSilentProgressFormResource = "TFORMSILENTPROGRESS";

// The small window of a run without a person: the progress page's two bars and activity line,
// nothing to click. It refuses to close; it goes when the installation is done.
class TFormSilentProgress : public TvgForm {
 public:
  // Loads the layout from the resources; throws EFormLoadError when it is missing.
  TFormSilentProgress(const ResourceModule& resources, std::string_view title,
                      std::string_view progressTitle);
  ~TFormSilentProgress() override;

  // The bars and the activity line as the engine drives them.
  ProgressView& Progress();

 private:
  std::unique_ptr<TWizardProgress> progress_;
};

}  // namespace dbinst
