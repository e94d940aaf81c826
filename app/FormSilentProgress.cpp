#include "app/FormSilentProgress.h"

#include <optional>
#include <string>

#include "app/WizardProgress.h"
#include "payload/ResourceFile.h"
#include "ui/TvgProgressBar.h"
#include "ui/TvgText.h"

namespace dbinst {

TFormSilentProgress::TFormSilentProgress(const ResourceModule& resources, std::string_view title,
                                         std::string_view progressTitle) {
  Bind("FormCloseQuery", std::function<void(bool&)>([](bool& canClose) { canClose = false; }));
  const std::optional<std::string> layout =
      ReadResourceBytes(resources, kSilentProgressFormResource);
  if (!layout) {
    throw EFormLoadError("the installer carries no layout " +
                         std::string(kSilentProgressFormResource));
  }
  LoadLayout(*layout);
  SetCaption(std::string(title));
  Object<TvgText>("TextWindowTitle").SetText(title);
  Object<TvgText>("TextInstallMainActivity").SetText(progressTitle);
  progress_ =
      std::make_unique<TWizardProgress>(Object<TvgProgressBar>("ProgressBarInstallMainProcess"),
                                        Object<TvgProgressBar>("ProgressBarInstallSubProcess"),
                                        Object<TvgText>("TextInstallSubActivity"));
}

TFormSilentProgress::~TFormSilentProgress() = default;

ProgressView& TFormSilentProgress::Progress() { return *progress_; }

}  // namespace dbinst
