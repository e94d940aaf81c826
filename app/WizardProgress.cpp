#include "app/WizardProgress.h"

#include "ui/TvgApplication.h"
#include "ui/TvgProgressBar.h"
#include "ui/TvgText.h"

namespace dbinst {
namespace {

void Show(TvgProgressBar& bar, float maximum, float position) {
  bar.SetMin(0);
  bar.SetMax(maximum);
  bar.SetValue(position);
}

}  // namespace

TWizardProgress::TWizardProgress(TvgProgressBar& mainBar, TvgProgressBar& subBar, TvgText& activity)
    : mainBar_(mainBar), subBar_(subBar), activity_(activity) {}

void TWizardProgress::ShowOverall(float maximum, float position) {
  Show(mainBar_, maximum, position);
}

void TWizardProgress::ShowItem(float maximum, float position) { Show(subBar_, maximum, position); }

void TWizardProgress::ShowActivity(std::string_view text) { activity_.SetText(text); }

void TWizardProgress::ProcessMessages() { TvgApplication::Instance().ProcessMessages(); }

}  // namespace dbinst
