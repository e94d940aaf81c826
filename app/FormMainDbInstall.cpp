#include "app/FormMainDbInstall.h"

#include "app/FolderBrowser.h"
#include "app/VerifyPage.h"
#include "app/WelcomeBlock.h"
#include "engine/DoDbInstallThings.h"
#include "env/GeneralMod.h"
#include "env/MessagePump.h"
#include "payload/MyFileOp.h"
#include "payload/ResourceFile.h"
#include "platform/Machine.h"
#include "platform/MessageBox.h"
#include "platform/SystemInfo.h"
#include "platform/Text.h"
#include "ui/TvgApplication.h"
#include "ui/TvgControls.h"
#include "ui/TvgProgressBar.h"
#include "ui/TvgTabControl.h"
#include "ui/TvgText.h"
#include "ui/TvgTreeView.h"

namespace dbinst {
namespace {

constexpr int kNoDatabasesKey = 224;
constexpr int kInstallFailedKey = 15;
constexpr int kPathPlaceholderKey = 235;
constexpr uint32_t kRunningCheckInterval = 250;
constexpr uint32_t kDiskSpaceInterval = 1000;
constexpr TAlphaColor kWarningColor = 0xFFC04040;
constexpr TAlphaColor kNormalColor = 0xFF000000;
constexpr TAlphaColor kDimmedColor = 0x60000000;
constexpr float kHiddenTabOpacity = 0.01f;
constexpr float kHiddenTabHeight = 2.0f;

const char* const kTabItems[] = {"TabItem01Welcome", "TabItem02ChoosePath", "TabItem03VerifyPath",
                                 "TabItem04InstallDbs", "TabItem05Final"};

std::string Numbered(const char* stem, size_t number) {
  return stem + std::string(number < 10 ? "0" : "") + std::to_string(number);
}

}  // namespace

TFormMainDbInstall::TFormMainDbInstall(Machine& machine) : machine_(machine) {
  BindHandlers();
  LoadLayout(ReadResourceBytes(machine_.resources(), kMainFormResource).value_or(""));
  Engine = std::make_unique<TDoDbInstallThings>(machine_);
  if (Engine->DatabaseCount() < 1 || !Engine->PrepareHelperLibraries()) {
    Engine->FatalError(T(kNoDatabasesKey));
  }
  CollectWidgets();
  HideTabHeaders();
  ShowPage(EWizardPage::Welcome);
  FillTexts();
  FillLocalDrives();
  // Building the program choice enabled the button: the host check has the last word here.
  TimerCheckRunningStuffTimer(Timer("TimerCheckRunningStuff"));
}

TFormMainDbInstall::~TFormMainDbInstall() = default;

std::string TFormMainDbInstall::T(int key) const { return GeneralMod->Text(key); }

void TFormMainDbInstall::BindHandlers() {
  const auto bind = [this](const char* name, void (TFormMainDbInstall::*handler)(TvgObject&)) {
    Bind(name, TNotifyEvent([this, handler](TvgObject& sender) { (this->*handler)(sender); }));
  };
  bind("ButtonMkayClick", &TFormMainDbInstall::ButtonMkayClick);
  bind("ButtonExitClick", &TFormMainDbInstall::ButtonExitClick);
  bind("FormActivate", &TFormMainDbInstall::FormActivate);
  bind("RadioButtonChoosePathChange", &TFormMainDbInstall::RadioButtonChoosePathChange);
  bind("TreeViewPathsClick", &TFormMainDbInstall::TreeViewPathsClick);
  bind("TreeViewPathsChangeCheck", &TFormMainDbInstall::TreeViewPathsChangeCheck);
  bind("ButtonChoosePathChooseManuallyBrowseClick",
       &TFormMainDbInstall::ButtonChoosePathChooseManuallyBrowseClick);
  Bind("FormCloseQuery",
       std::function<void(bool&)>([this](bool& canClose) { FormCloseQuery(canClose); }));
  Bind("TimerCheckRunningStuffTimer",
       std::function<void(TTimer&)>([this](TTimer& timer) { TimerCheckRunningStuffTimer(timer); }));
  Bind("TimerDiskSpaceInfoTimer",
       std::function<void(TTimer&)>([this](TTimer& timer) { TimerDiskSpaceInfoTimer(timer); }));
}

void TFormMainDbInstall::CollectWidgets() {
  for (size_t i = 1; i <= 6; ++i) {
    WelcomeDbTexts.push_back(&Object<TvgText>(Numbered("TextWelcomeDb", i)));
  }
  for (size_t i = 1; i <= 4; ++i) {
    VerifyPathPairs.emplace_back(&Object<TvgText>(Numbered("TextVerifyPathDbname", i)),
                                 &Object<TvgText>(Numbered("TextVerifyPathDbdates", i)));
  }
}

void TFormMainDbInstall::HideTabHeaders() {
  for (const char* name : kTabItems) {
    TvgTabItem& item = Object<TvgTabItem>(name);
    item.SetOpacity(kHiddenTabOpacity);
    item.SetHeight(kHiddenTabHeight);
  }
}

void TFormMainDbInstall::SelectTab(const char* name) {
  Object<TvgTabControl>("TabControlMain").SetSelected(&Object<TvgTabItem>(name));
}

EWizardPage TFormMainDbInstall::NextPage() const {
  switch (CurrentPage) {
    case EWizardPage::Welcome:
      return EWizardPage::ChoosePath;
    case EWizardPage::ChoosePath:
      return EWizardPage::VerifyPath;
    case EWizardPage::VerifyPath:
      return EWizardPage::InstallDbs;
    case EWizardPage::InstallDbs:
    case EWizardPage::Final:
      return EWizardPage::Final;
    default:
      return EWizardPage::Welcome;
  }
}

void TFormMainDbInstall::ShowPage(EWizardPage page) {
  CurrentPage = page;
  TvgButton& mkay = Object<TvgButton>("ButtonMkay");
  TvgButton& exit = Object<TvgButton>("ButtonExit");
  switch (page) {
    case EWizardPage::Welcome: {
      mkay.SetText(T(23) + " >>");
      exit.SetText(T(22));
      TTimer& timer = Timer("TimerCheckRunningStuff");
      TimerCheckRunningStuffTimer(timer);
      timer.SetInterval(kRunningCheckInterval);
      timer.SetEnabled(true);
      SelectTab(kTabItems[0]);
      break;
    }
    case EWizardPage::ChoosePath:
      Timer("TimerCheckRunningStuff").SetEnabled(false);
      ResetTreeChoice();
      mkay.SetText(T(226));
      exit.SetText(T(22));
      SelectTab(kTabItems[1]);
      RefuseUnusableManualFolder();
      break;
    case EWizardPage::VerifyPath:
      Object<TvgButton>("ButtonChoosePathChooseManuallyBrowse").SetEnabled(false);
      if (PrepareVerifyPage()) {
        ShowPage(NextPage());
        return;
      }
      SelectTab(kTabItems[2]);
      mkay.SetText(T(226));
      exit.SetText(T(22));
      break;
    case EWizardPage::InstallDbs:
      RunInstallation();
      break;
    case EWizardPage::Final:
      ShowFinalPage();
      break;
  }
}

void TFormMainDbInstall::RunInstallation() {
  TTimer& diskSpace = Timer("TimerDiskSpaceInfo");
  TimerDiskSpaceInfoTimer(diskSpace);
  diskSpace.SetInterval(kDiskSpaceInterval);
  diskSpace.OnTimer = TimerHandler("TimerDiskSpaceInfoTimer");
  diskSpace.SetEnabled(true);
  SelectTab(kTabItems[3]);
  Object<TvgButton>("ButtonMkay").SetVisible(false);
  Object<TvgButton>("ButtonExit").SetText(T(22));
  auto& mainBar = Object<TvgProgressBar>("ProgressBarInstallMainProcess");
  auto& subBar = Object<TvgProgressBar>("ProgressBarInstallSubProcess");
  auto& activity = Object<TvgText>("TextInstallSubActivity");
  const bool copied = Engine->CopyArchives(&mainBar, &subBar, &activity);
  if (!copied)
    GeneralMod->Log().AddLine("Copying the database archives out of the installer failed");
  const std::string folder = ChosenTarget().Folder;
  const bool installed = Engine->InstallDatabases(folder, &mainBar, &subBar, &activity);
  if (!installed) GeneralMod->Log().AddLine("Installing the databases into " + folder + " failed");
  installationFailed_ = !copied || !installed;
  diskSpace.SetEnabled(false);
  diskSpace.OnTimer = nullptr;
  ShowPage(NextPage());
}

void TFormMainDbInstall::ShowFinalPage() {
  SelectTab(kTabItems[4]);
  TvgButton& mkay = Object<TvgButton>("ButtonMkay");
  mkay.SetVisible(true);
  mkay.SetText(T(25));
  Object<TvgButton>("ButtonExit").SetVisible(false);
  // A failed step must not be reported as a success.
  if (installationFailed_) Object<TvgText>("TextFinalMessage").SetText(T(kInstallFailedKey));
}

void TFormMainDbInstall::FillTexts() {
  const int count = Engine->DatabaseCount();
  const std::string title = T(count < 2 ? 207 : 208);
  Object<TvgText>("TextWindowTitle").SetText(title);
  TvgApplication::Instance().SetTitle(title);
  SetCaption(title);
  Object<TvgGroupBox>("GroupBoxWelcome").SetText(T(243));
  FillWelcomeBlock();
  Object<TvgText>("TextWelcomeFoot02").SetText(T(223));
  Object<TvgGroupBox>("GroupBoxChoosePath").SetText(T(59));
  Object<TvgButton>("ButtonChoosePathChooseManuallyBrowse").SetText(T(74));
  BuildProgramChoice();
  Object<TvgGroupBox>("GroupBoxVerifyPath").SetText(T(236));
  Object<TvgGroupBox>("GroupBoxInstallDbs").SetText(title);
  Object<TvgText>("TextInstallMainActivity").SetText(T(246));
  Object<TvgGroupBox>("GroupBoxFinal").SetText(T(count < 2 ? 248 : 245));
  Object<TvgText>("TextFinalMessage").SetText(T(77));
}

void TFormMainDbInstall::FillWelcomeBlock() {
  const TWelcomeBlock block =
      MakeWelcomeBlock(Engine->CatalogueCopy(), [this](int key) { return T(key); });
  Object<TvgText>("TextWelcomeHead").SetText(block.Head);
  for (size_t i = 0; i < WelcomeDbTexts.size(); ++i) {
    WelcomeDbTexts[i]->SetVisible(block.Lines[i].has_value());
    if (block.Lines[i]) WelcomeDbTexts[i]->SetText(*block.Lines[i]);
  }
  Object<TvgText>("TextWelcomeFoot01").SetText(block.Foot01);
}

void TFormMainDbInstall::BuildProgramChoice() {
  const TCadAppInstalledVec programs = Engine->TargetPrograms();
  const TextOfKey text = [this](int key) { return T(key); };
  auto& mainOne = Object<TvgRadioButton>("RadioButtonChoosePathMainOne");
  auto& remaining = Object<TvgRadioButton>("RadioButtonChoosePathRemainingOnes");
  auto& manually = Object<TvgRadioButton>("RadioButtonChoosePathChooseManually");
  TvgTreeView& tree = Tree();
  mainOne.SetVisible(!programs.empty());
  if (!programs.empty()) {
    mainOne.SetText(FillPlaceholders(
        T(227), {ProgramDisplayName(programs[0], *Engine, text), programs[0].Folder}));
  }
  remaining.SetVisible(programs.size() >= 2);
  tree.SetVisible(programs.size() >= 2);
  if (programs.size() >= 2) {
    remaining.SetText(T(228));
    for (size_t i = 1; i < programs.size(); ++i) {
      tree.BeginUpdate();
      TvgTreeViewItem& item = tree.AddItem(FillPlaceholders(
          T(229), {ProgramDisplayName(programs[i], *Engine, text), programs[i].Folder}));
      item.SetIsChecked(i == 1);
      TreeItemApps[&item] = programs[i];
      tree.EndUpdate();
    }
  }
  manually.SetText(T(230));
  auto& warning = Object<TvgText>("TextChoosePathChooseManuallyWarning");
  warning.SetText(T(Engine->AnyNewFormat() ? 232 : 231));
  warning.SetVisible(false);
  Object<TvgText>("TextChoosePathChooseManuallyPath").SetText(T(kPathPlaceholderKey));
  ManualApp = {};
  TvgRadioButton& initial = mainOne.Visible() ? mainOne : manually;
  initial.SetIsChecked(true);
  RadioButtonChoosePathChange(initial);
}

void TFormMainDbInstall::FillLocalDrives() {
  for (const TLogicalDriveFound& drive : Engine->FileOp().ListLocalDrives()) {
    LocalDrives[ToUpper(drive.letter.substr(0, 1))] = drive;
  }
}

void TFormMainDbInstall::ButtonMkayClick(TvgObject&) {
  auto& tabs = Object<TvgTabControl>("TabControlMain");
  if (tabs.Selected() == &Object<TvgTabItem>(kTabItems[4])) {
    Close();
    return;
  }
  ShowPage(NextPage());
  // The new page is placed at once, so input that follows before the next repaint finds it.
  Scene().Layout();
}

void TFormMainDbInstall::ButtonExitClick(TvgObject&) { Close(); }

void TFormMainDbInstall::FormActivate(TvgObject&) {}

void TFormMainDbInstall::FormCloseQuery(bool& canClose) {
  auto& tabs = Object<TvgTabControl>("TabControlMain");
  if (tabs.Selected() == &Object<TvgTabItem>(kTabItems[4])) {
    ExitProcessWithCode(installationFailed_ ? kExitCodeInstallFailed : 0);
  }
  canClose = Engine->ConfirmExit();
}

TvgTreeView& TFormMainDbInstall::Tree() { return Object<TvgTreeView>("TreeViewPaths"); }

TCadAppInstalled TFormMainDbInstall::ChosenTarget() {
  auto& mainOne = Object<TvgRadioButton>("RadioButtonChoosePathMainOne");
  auto& remaining = Object<TvgRadioButton>("RadioButtonChoosePathRemainingOnes");
  auto& manually = Object<TvgRadioButton>("RadioButtonChoosePathChooseManually");
  if (mainOne.Visible() && mainOne.IsChecked()) {
    const TCadAppInstalledVec programs = Engine->TargetPrograms();
    return programs.empty() ? TCadAppInstalled{} : programs.front();
  }
  if (remaining.Visible() && remaining.IsChecked()) {
    const auto found = TreeItemApps.find(FirstCheckedTreeItem());
    return found == TreeItemApps.end() ? TCadAppInstalled{} : found->second;
  }
  if (manually.Visible() && manually.IsChecked()) {
    if (Object<TvgText>("TextChoosePathChooseManuallyWarning").Visible()) {
      return {EProductLine::None,
              WithTrailingBackslash(Object<TvgText>("TextChoosePathChooseManuallyPath").Text())};
    }
    return ManualApp;
  }
  return {};
}

void TFormMainDbInstall::RadioButtonChoosePathChange(TvgObject& sender) {
  auto* radio = dynamic_cast<TvgRadioButton*>(&sender);
  if (!radio || !radio->IsChecked()) return;
  const std::string& name = radio->Name();
  const bool main = name == "RadioButtonChoosePathMainOne";
  const bool remaining = name == "RadioButtonChoosePathRemainingOnes";
  const bool manually = name == "RadioButtonChoosePathChooseManually";
  if (!main && !remaining && !manually) return;
  TvgTreeView& tree = Tree();
  auto& path = Object<TvgText>("TextChoosePathChooseManuallyPath");
  auto& browse = Object<TvgButton>("ButtonChoosePathChooseManuallyBrowse");
  auto& warning = Object<TvgText>("TextChoosePathChooseManuallyWarning");
  if (remaining) {
    tree.SetEnabled(true);
  } else if (tree.Visible()) {
    tree.SetEnabled(false);
  }
  if (!manually) {
    path.SetTextColor(kDimmedColor);
    browse.SetEnabled(false);
    if (warning.Visible()) warning.SetTextColor(kDimmedColor);
    Object<TvgButton>("ButtonMkay").SetEnabled(true);
    return;
  }
  path.SetTextColor(kNormalColor);
  browse.SetEnabled(true);
  if (path.Text() == T(kPathPlaceholderKey) &&
      Object<TvgRadioButton>("RadioButtonChoosePathMainOne").Visible()) {
    BrowseForFolder();
  }
  if (warning.Visible()) warning.SetTextColor(kWarningColor);
  RefuseUnusableManualFolder();
}

void TFormMainDbInstall::RefuseUnusableManualFolder() {
  // The welcome page's button belongs to the running-program check.
  if (CurrentPage != EWizardPage::ChoosePath) return;
  auto& manually = Object<TvgRadioButton>("RadioButtonChoosePathChooseManually");
  if (!manually.Visible() || !manually.IsChecked()) return;
  const std::string path =
      WithTrailingBackslash(Object<TvgText>("TextChoosePathChooseManuallyPath").Text());
  if (!IsOnLocalDrive(path, LocalDrives)) Object<TvgButton>("ButtonMkay").SetEnabled(false);
}

void TFormMainDbInstall::ButtonChoosePathChooseManuallyBrowseClick(TvgObject&) {
  BrowseForFolder();
}

void TFormMainDbInstall::BrowseForFolder() {
  auto& pathText = Object<TvgText>("TextChoosePathChooseManuallyPath");
  const std::string start = BrowseStartFolder(pathText.Text(), machine_.files());
  const std::string caption = T(Engine->DatabaseCount() < 2 ? 233 : 234);
  {
    TFolderBrowser browser(machine_, [this](int key) { return T(key); });
    browser.SetOwner(this);
    std::string chosen;
    if (browser.Execute(caption, start, chosen)) pathText.SetText(WithTrailingBackslash(chosen));
  }
  const std::string path = pathText.Text();
  bool recognised = false;
  TvgButton& mkay = Object<TvgButton>("ButtonMkay");
  if (!IsOnLocalDrive(path, LocalDrives)) {
    mkay.SetEnabled(false);
  } else {
    const TCadAppInstalled found = RecogniseProgramFolder(path, *Engine);
    if (found.ProductLine != EProductLine::None) {
      ManualApp = found;
      recognised = true;
    }
    mkay.SetEnabled(true);
  }
  Object<TvgText>("TextChoosePathChooseManuallyWarning").SetVisible(!recognised);
}

void TFormMainDbInstall::CheckOnlyTreeItem(TvgTreeViewItem* item) {
  TvgTreeView& tree = Tree();
  const std::vector<TvgTreeViewItem*> items = tree.Items();
  tree.BeginUpdate();
  if (!item) item = tree.Selected();
  if (!item && !items.empty()) item = items.front();
  if (item) {
    for (TvgTreeViewItem* other : items) other->SetIsChecked(other == item);
    tree.SetSelected(item);
  }
  tree.EndUpdate();
}

TvgTreeViewItem* TFormMainDbInstall::FirstCheckedTreeItem() const {
  for (TvgTreeViewItem* item : const_cast<TFormMainDbInstall*>(this)->Tree().Items()) {
    if (item->IsChecked()) return item;
  }
  return nullptr;
}

void TFormMainDbInstall::TreeViewPathsClick(TvgObject&) {
  TvgTreeView& tree = Tree();
  TNotifyEvent handler = std::move(tree.OnClick);
  tree.OnClick = nullptr;
  CheckOnlyTreeItem(nullptr);
  tree.OnClick = std::move(handler);
}

void TFormMainDbInstall::TreeViewPathsChangeCheck(TvgObject& sender) {
  TvgTreeView& tree = Tree();
  TNotifyEvent handler = std::move(tree.OnChangeCheck);
  tree.OnChangeCheck = nullptr;
  CheckOnlyTreeItem(dynamic_cast<TvgTreeViewItem*>(&sender));
  tree.OnChangeCheck = std::move(handler);
}

void TFormMainDbInstall::ResetTreeChoice() {
  TvgTreeView& tree = Tree();
  const std::vector<TvgTreeViewItem*> items = tree.Items();
  if (items.empty()) return;
  const bool enabled = tree.Enabled();
  tree.SetEnabled(true);
  tree.BeginUpdate();
  items.front()->SetIsChecked(true);
  items.front()->SetIsChecked(false);
  items.front()->SetIsChecked(true);
  tree.EndUpdate();
  tree.SetEnabled(enabled);
}

bool TFormMainDbInstall::PrepareVerifyPage() {
  const TCadAppInstalled target = ChosenTarget();
  const TVerifyPage page =
      MakeVerifyPage(Engine->ExistingDatabases(target.Folder), [this](int key) { return T(key); });
  Object<TvgText>("TextVerifyPathHeader").SetText(page.Header);
  Object<TvgText>("TextVerifyPathFoota").SetText(page.Foot);
  for (size_t i = 0; i < VerifyPathPairs.size(); ++i) {
    auto [name, dates] = VerifyPathPairs[i];
    name->SetVisible(page.Names[i].has_value());
    if (page.Names[i]) name->SetText(*page.Names[i]);
    dates->SetVisible(page.Dates[i].has_value());
    if (page.Dates[i]) dates->SetText(*page.Dates[i]);
  }
  return page.NothingOverwritten;
}

void TFormMainDbInstall::TimerCheckRunningStuffTimer(TTimer&) {
  const bool running = Engine->IsHostRunning();
  auto& warning = Object<TvgText>("TextWelcomeFoot02");
  warning.SetTextColor(running ? kWarningColor : kNormalColor);
  warning.SetTextBold(running);
  Object<TvgButton>("ButtonMkay").SetEnabled(!running);
  // Before the window is shown there is nothing to pump, and a script must not act on it yet.
  if (Shown()) ProcessMessages();
}

void TFormMainDbInstall::TimerDiskSpaceInfoTimer(TTimer&) {
  const std::string folder = ChosenTarget().Folder;
  const std::string drive = ToUpper(folder.substr(0, 2));
  const int64_t freeBytes = Engine->FileOp().GetDriveFreeSpace(drive);
  Object<TvgText>("TextInstallDiskSpaceInfo")
      .SetText(DiskSpaceText(drive, freeBytes, machine_.system().UserNumberFormat(),
                             [this](int key) { return T(key); }));
}

}  // namespace dbinst
