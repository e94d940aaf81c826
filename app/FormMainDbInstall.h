#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/TargetChoice.h"
#include "app/TargetChoiceModel.h"
#include "engine/CadAppInstalled.h"
#include "ui/TvgForm.h"

namespace dbinst {

class Machine;
class TDoDbInstallThings;
class TGeneralMod;
class TvgButton;
class TvgGroupBox;
class TvgImage;
class TvgLayout;
class TvgProgressBar;
class TvgRadioButton;
class TvgTabControl;
class TvgTabItem;
class TvgText;
class TvgTreeView;
class TvgTreeViewItem;

enum class EWizardPage : int32_t { Welcome = 0, ChoosePath, VerifyPath, InstallDbs, Final };

inline constexpr std::string_view kMainFormResource = "TFORMMAINDBINSTALL";

// The wizard: five pages in one frameless window, forward only.
class TFormMainDbInstall : public TvgForm {
 public:
  // Loads the layout from the installer's resources, builds the engine and fills every page;
  // ends the process with code 3 when the installer carries no database or helper library.
  TFormMainDbInstall(Machine& machine, TGeneralMod& module);
  ~TFormMainDbInstall() override;

  // The layout's objects the wizard works with, bound once when the layout is loaded.
  TvgText* TextWindowTitle = nullptr;
  TvgTabControl* TabControlMain = nullptr;
  TvgTabItem* TabItem01Welcome = nullptr;
  TvgTabItem* TabItem02ChoosePath = nullptr;
  TvgTabItem* TabItem03VerifyPath = nullptr;
  TvgTabItem* TabItem04InstallDbs = nullptr;
  TvgTabItem* TabItem05Final = nullptr;
  TvgButton* ButtonExit = nullptr;
  TvgButton* ButtonMkay = nullptr;
  TvgGroupBox* GroupBoxWelcome = nullptr;
  TvgText* TextWelcomeHead = nullptr;
  TvgText* TextWelcomeFoot01 = nullptr;
  TvgText* TextWelcomeFoot02 = nullptr;
  TvgGroupBox* GroupBoxChoosePath = nullptr;
  TvgRadioButton* RadioButtonChoosePathMainOne = nullptr;
  TvgRadioButton* RadioButtonChoosePathRemainingOnes = nullptr;
  TvgTreeView* TreeViewPaths = nullptr;
  TvgRadioButton* RadioButtonChoosePathChooseManually = nullptr;
  TvgText* TextChoosePathChooseManuallyPath = nullptr;
  TvgButton* ButtonChoosePathChooseManuallyBrowse = nullptr;
  TvgText* TextChoosePathChooseManuallyWarning = nullptr;
  TvgGroupBox* GroupBoxVerifyPath = nullptr;
  TvgText* TextVerifyPathHeader = nullptr;
  TvgText* TextVerifyPathFoota = nullptr;
  TvgGroupBox* GroupBoxInstallDbs = nullptr;
  TvgText* TextInstallMainActivity = nullptr;
  TvgProgressBar* ProgressBarInstallMainProcess = nullptr;
  TvgText* TextInstallSubActivity = nullptr;
  TvgProgressBar* ProgressBarInstallSubProcess = nullptr;
  TvgText* TextInstallDiskSpaceInfo = nullptr;
  TvgGroupBox* GroupBoxFinal = nullptr;
  TvgImage* Image2 = nullptr;
  TvgText* TextFinalMessage = nullptr;
  TvgLayout* LayoutFinalFailure = nullptr;
  TvgText* TextFinalFailureHead = nullptr;
  TvgText* TextFinalFailures = nullptr;
  TTimer* TimerCheckRunningStuff = nullptr;
  TTimer* TimerDiskSpaceInfo = nullptr;

  std::unique_ptr<TDoDbInstallThings> Engine;
  EWizardPage CurrentPage = EWizardPage::Welcome;
  std::vector<TvgText*> WelcomeDbTexts;
  std::vector<std::pair<TvgText*, TvgText*>> VerifyPathPairs;
  std::map<TvgTreeViewItem*, TCadAppInstalled> TreeItemApps;
  TLocalDriveMap LocalDrives;

  void ShowPage(EWizardPage page);
  EWizardPage NextPage() const;
  void FillTexts();
  TCadAppInstalled ChosenTarget() const { return targetChoice_.ChosenTarget(); }
  const TTargetChoiceModel& TargetChoice() const { return targetChoice_; }
  // True when nothing would be overwritten.
  bool PrepareVerifyPage();
  // True once a step of the installation reported failure.
  bool InstallationFailed() const { return installationFailed_; }

  void ButtonMkayClick(TvgObject& sender);
  void ButtonExitClick(TvgObject& sender);
  void FormActivate(TvgObject& sender);
  void FormCloseQuery(bool& canClose);
  void RadioButtonChoosePathChange(TvgObject& sender);
  void ButtonChoosePathChooseManuallyBrowseClick(TvgObject& sender);
  void TreeViewPathsClick(TvgObject& sender);
  void TreeViewPathsChangeCheck(TvgObject& sender);
  void TimerCheckRunningStuffTimer(TTimer& sender);
  void TimerDiskSpaceInfoTimer(TTimer& sender);

  void CheckOnlyTreeItem(TvgTreeViewItem* item);
  TvgTreeViewItem* FirstCheckedTreeItem() const;
  void ResetTreeChoice();

 private:
  std::string T(int key) const;
  TextOfKey Texts() const;
  void BindHandlers();
  void BindObjects();
  template <class T>
  void BindObject(T*& member, std::string_view name) {
    member = &Object<T>(name);
  }
  void HideTabHeaders();
  void FillWelcomeBlock();
  void BuildProgramChoice();
  void FillLocalDrives();
  void SelectTab(TvgTabItem* item);
  void RunInstallation();
  // False, with the final page's text prepared, when a drive lacks room for the installation.
  bool CheckFreeSpace(const std::string& programFolder);
  void ShowFinalPage();
  std::string FailureText() const;
  void BrowseForFolder();
  // A hand-chosen folder off the local drives (the placeholder included) cannot be installed to.
  void RefuseUnusableManualFolder();
  std::vector<TvgTabItem*> TabItems() const;

  Machine& machine_;
  TGeneralMod& module_;
  TTargetChoiceModel targetChoice_;
  bool installationFailed_ = false;
  std::string failureText_;
};

}  // namespace dbinst
