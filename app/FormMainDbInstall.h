#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/TargetChoice.h"
#include "engine/CadAppInstalled.h"
#include "ui/TvgForm.h"

namespace dbinst {

class Machine;
class TDoDbInstallThings;
class TvgText;
class TvgTreeView;
class TvgTreeViewItem;

enum class EWizardPage : int32_t { Welcome = 0, ChoosePath, VerifyPath, InstallDbs, Final };

inline constexpr std::string_view kMainFormResource = "TFORMMAINDBINSTALL";
// Exit code of the final page after a step of the installation failed.
inline constexpr int kExitCodeInstallFailed = 4;

// The wizard: five pages in one frameless window, forward only.
class TFormMainDbInstall : public TvgForm {
 public:
  // Loads the layout from the installer's resources, builds the engine and fills every page;
  // ends the process with code 3 when the installer carries no database or helper library.
  explicit TFormMainDbInstall(Machine& machine);
  ~TFormMainDbInstall() override;

  std::unique_ptr<TDoDbInstallThings> Engine;
  EWizardPage CurrentPage = EWizardPage::Welcome;
  std::vector<TvgText*> WelcomeDbTexts;
  std::vector<std::pair<TvgText*, TvgText*>> VerifyPathPairs;
  std::map<TvgTreeViewItem*, TCadAppInstalled> TreeItemApps;
  TCadAppInstalled ManualApp;
  TLocalDriveMap LocalDrives;

  void ShowPage(EWizardPage page);
  EWizardPage NextPage() const;
  void FillTexts();
  TCadAppInstalled ChosenTarget();
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
  void BindHandlers();
  void CollectWidgets();
  void HideTabHeaders();
  void FillWelcomeBlock();
  void BuildProgramChoice();
  void FillLocalDrives();
  void SelectTab(const char* name);
  void RunInstallation();
  void ShowFinalPage();
  void BrowseForFolder();
  // A hand-chosen folder off the local drives (the placeholder included) cannot be installed to.
  void RefuseUnusableManualFolder();
  TvgTreeView& Tree();

  Machine& machine_;
  bool installationFailed_ = false;
};

}  // namespace dbinst
