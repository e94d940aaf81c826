#include "app/TargetChoiceModel.h"

#include <utility>

#include "platform/Text.h"

namespace dbinst {

TTargetChoiceModel::TTargetChoiceModel(TCadAppInstalledVec programs, std::string pathPlaceholder)
    : programs_(std::move(programs)), manualPathText_(std::move(pathPlaceholder)) {}

bool TTargetChoiceModel::Offers(ETargetChoice choice) const {
  switch (choice) {
    case ETargetChoice::MainProgram:
      return !programs_.empty();
    case ETargetChoice::OtherProgram:
      return programs_.size() >= 2;
    case ETargetChoice::ManualFolder:
      return true;
  }
  return false;
}

void TTargetChoiceModel::ChooseManualFolder(std::string folder) {
  manualPathText_ = std::move(folder);
  manualFolderChosen_ = true;
}

void TTargetChoiceModel::RecogniseManualFolder(const TCadAppInstalled& program) {
  manualApp_ = program;
  manualState_ = EManualFolderState::Recognised;
}

TCadAppInstalled TTargetChoiceModel::ChosenTarget() const {
  if (IsChosen(ETargetChoice::MainProgram)) return programs_.front();
  if (IsChosen(ETargetChoice::OtherProgram)) return otherProgram_.value_or(TCadAppInstalled{});
  if (IsChosen(ETargetChoice::ManualFolder)) {
    if (manualState_ == EManualFolderState::NotRecognised) {
      return {EProductLine::None, WithTrailingBackslash(manualPathText_)};
    }
    return manualApp_;
  }
  return {};
}

}  // namespace dbinst
