#include "app/FormMainDbInstall.h"

#include "app/FolderBrowser.h"
#include "app/VerifyPage.h"
#include "app/WelcomeBlock.h"
#include "app/WizardProgress.h"
#include "engine/DoDbInstallThings.h"
#include "env/GeneralMod.h"
#include "env/MegabyteText.h"
#include "env/TextKeys.h"
#include "payload/ResourceFile.h"
#include "platform/ExitCodes.h"
#include "platform/Machine.h"
#include "platform/ProcessExit.h"
#include "platform/SystemInfo.h"
#include "platform/Text.h"
#include "ui/TvgApplication.h"
#include "ui/TvgControls.h"
#include "ui/TvgProgressBar.h"
#include "ui/TvgShapes.h"
#include "ui/TvgTabControl.h"
#include "ui/TvgText.h"
#include "ui/TvgTreeView.h"

namespace dbinst {
namespace {

constexpr uint32_t kRunningCheckInterval = 250;
constexpr uint32_t kDiskSpaceInterval = 1000;
constexpr TAlphaColor kWarningColor = 0xFFC04040;
constexpr TAlphaColor kNormalColor = 0xFF000000;
constexpr TAlphaColor kDimmedColor = 0x60000000;
constexpr float kHiddenTabOpacity = 0.01f;
constexpr float kHiddenTabHeight = 2.0f;
constexpr size_t kWelcomeDbTextCount = 6;
constexpr size_t kVerifyPathPairCount = 4;

int ReasonKey(EInstallFailure failure) {
  switch (failure) {
    case EInstallFailure::NoSpace:
      return TextKey::ReasonNoSpace;
    case EInstallFailure::WriteProtected:
      return TextKey::ReasonWriteProtected;
    case EInstallFailure::WrongPassword:
      return TextKey::ReasonWrongPassword;
    case EInstallFailure::InUse:
      return TextKey::ReasonInUse;
    case EInstallFailure::None:
    case EInstallFailure::DamagedArchive:
    case EInstallFailure::Cancelled:
      break;
  }
  return TextKey::ReasonDamagedArchive;
}

std::string Numbered(const char* stem, size_t number) {
  return stem + std::string(number < 10 ? "0" : "") + std::to_string(number);
}

}  // namespace

TFormMainDbInstall::TFormMainDbInstall(Machine& machine, TGeneralMod& module)
    : machine_(machine), module_(module) {
  BindHandlers();
  LoadLayout(ReadResourceBytes(machine_.resources(), kMainFormResource).value_or(""));
  BindObjects();
  Engine = std::make_unique<TDoDbInstallThings>(machine_, module_);
  if (Engine->DatabaseCount() < 1 || !Engine->PrepareHelperLibraries()) {
    Engine->FatalError(T(TextKey::NoDatabases));
  }
  HideTabHeaders();
  ShowPage(EWizardPage::Welcome);
  FillTexts();
  FillLocalDrives();
  // Building the program choice enabled the button: the host check has the last word here.
  TimerCheckRunningStuffTimer(*TimerCheckRunningStuff);
}

TFormMainDbInstall::~TFormMainDbInstall() = default;

std::string TFormMainDbInstall::T(int key) const { return module_.Text(key); }

TextOfKey TFormMainDbInstall::Texts() const {
  return [this](int key) { return T(key); };
}

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

// A layout without one of these objects, or with one of another kind, fails here, before the
// wizard starts.
void TFormMainDbInstall::BindObjects() {
  BindObject(TextWindowTitle, "TextWindowTitle");
  BindObject(TabControlMain, "TabControlMain");
  BindObject(TabItem01Welcome, "TabItem01Welcome");
  BindObject(TabItem02ChoosePath, "TabItem02ChoosePath");
  BindObject(TabItem03VerifyPath, "TabItem03VerifyPath");
  BindObject(TabItem04InstallDbs, "TabItem04InstallDbs");
  BindObject(TabItem05Final, "TabItem05Final");
  BindObject(ButtonExit, "ButtonExit");
  BindObject(ButtonMkay, "ButtonMkay");
  BindObject(GroupBoxWelcome, "GroupBoxWelcome");
  BindObject(TextWelcomeHead, "TextWelcomeHead");
  BindObject(TextWelcomeFoot01, "TextWelcomeFoot01");
  BindObject(TextWelcomeFoot02, "TextWelcomeFoot02");
  BindObject(GroupBoxChoosePath, "GroupBoxChoosePath");
  BindObject(RadioButtonChoosePathMainOne, "RadioButtonChoosePathMainOne");
  BindObject(RadioButtonChoosePathRemainingOnes, "RadioButtonChoosePathRemainingOnes");
  BindObject(TreeViewPaths, "TreeViewPaths");
  BindObject(RadioButtonChoosePathChooseManually, "RadioButtonChoosePathChooseManually");
  BindObject(TextChoosePathChooseManuallyPath, "TextChoosePathChooseManuallyPath");
  BindObject(ButtonChoosePathChooseManuallyBrowse, "ButtonChoosePathChooseManuallyBrowse");
  BindObject(TextChoosePathChooseManuallyWarning, "TextChoosePathChooseManuallyWarning");
  BindObject(GroupBoxVerifyPath, "GroupBoxVerifyPath");
  BindObject(TextVerifyPathHeader, "TextVerifyPathHeader");
  BindObject(TextVerifyPathFoota, "TextVerifyPathFoota");
  BindObject(GroupBoxInstallDbs, "GroupBoxInstallDbs");
  BindObject(TextInstallMainActivity, "TextInstallMainActivity");
  BindObject(ProgressBarInstallMainProcess, "ProgressBarInstallMainProcess");
  BindObject(TextInstallSubActivity, "TextInstallSubActivity");
  BindObject(ProgressBarInstallSubProcess, "ProgressBarInstallSubProcess");
  BindObject(TextInstallDiskSpaceInfo, "TextInstallDiskSpaceInfo");
  BindObject(GroupBoxFinal, "GroupBoxFinal");
  BindObject(Image2, "Image2");
  BindObject(TextFinalMessage, "TextFinalMessage");
  BindObject(LayoutFinalFailure, "LayoutFinalFailure");
  BindObject(TextFinalFailureHead, "TextFinalFailureHead");
  BindObject(TextFinalFailures, "TextFinalFailures");
  TimerCheckRunningStuff = &Timer("TimerCheckRunningStuff");
  TimerDiskSpaceInfo = &Timer("TimerDiskSpaceInfo");
  for (size_t i = 1; i <= kWelcomeDbTextCount; ++i) {
    WelcomeDbTexts.push_back(&Object<TvgText>(Numbered("TextWelcomeDb", i)));
  }
  for (size_t i = 1; i <= kVerifyPathPairCount; ++i) {
    VerifyPathPairs.emplace_back(&Object<TvgText>(Numbered("TextVerifyPathDbname", i)),
                                 &Object<TvgText>(Numbered("TextVerifyPathDbdates", i)));
  }
}

std::vector<TvgTabItem*> TFormMainDbInstall::TabItems() const {
  return {TabItem01Welcome, TabItem02ChoosePath, TabItem03VerifyPath, TabItem04InstallDbs,
          TabItem05Final};
}

void TFormMainDbInstall::HideTabHeaders() {
  for (TvgTabItem* item : TabItems()) {
    item->SetOpacity(kHiddenTabOpacity);
    item->SetHeight(kHiddenTabHeight);
  }
}

void TFormMainDbInstall::SelectTab(TvgTabItem* item) { TabControlMain->SetSelected(item); }

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
  switch (page) {
    case EWizardPage::Welcome:
      ButtonMkay->SetText(T(TextKey::Next) + " >>");
      ButtonExit->SetText(T(TextKey::Cancel));
      TimerCheckRunningStuffTimer(*TimerCheckRunningStuff);
      TimerCheckRunningStuff->SetInterval(kRunningCheckInterval);
      TimerCheckRunningStuff->SetEnabled(true);
      SelectTab(TabItem01Welcome);
      break;
    case EWizardPage::ChoosePath:
      TimerCheckRunningStuff->SetEnabled(false);
      ResetTreeChoice();
      ButtonMkay->SetText(T(TextKey::Install));
      ButtonExit->SetText(T(TextKey::Cancel));
      SelectTab(TabItem02ChoosePath);
      RefuseUnusableManualFolder();
      break;
    case EWizardPage::VerifyPath:
      ButtonChoosePathChooseManuallyBrowse->SetEnabled(false);
      if (PrepareVerifyPage()) {
        ShowPage(NextPage());
        return;
      }
      SelectTab(TabItem03VerifyPath);
      ButtonMkay->SetText(T(TextKey::Install));
      ButtonExit->SetText(T(TextKey::Cancel));
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
  // Nothing is written when the installation could not finish for want of room.
  if (!CheckFreeSpace(ChosenTarget().Folder)) {
    installationFailed_ = true;
    ShowPage(NextPage());
    return;
  }
  TimerDiskSpaceInfoTimer(*TimerDiskSpaceInfo);
  TimerDiskSpaceInfo->SetInterval(kDiskSpaceInterval);
  TimerDiskSpaceInfo->OnTimer = TimerHandler("TimerDiskSpaceInfoTimer");
  TimerDiskSpaceInfo->SetEnabled(true);
  SelectTab(TabItem04InstallDbs);
  ButtonMkay->SetVisible(false);
  ButtonExit->SetText(T(TextKey::Cancel));
  TWizardProgress progress(*ProgressBarInstallMainProcess, *ProgressBarInstallSubProcess,
                           *TextInstallSubActivity);
  const bool copied = Engine->CopyArchives(&progress);
  if (!copied) module_.Log().AddLine("Copying the database archives out of the installer failed");
  const std::string folder = ChosenTarget().Folder;
  const bool installed = Engine->InstallDatabases(folder, &progress);
  if (!installed) module_.Log().AddLine("Installing the databases into " + folder + " failed");
  installationFailed_ = !copied || !installed;
  if (installationFailed_) failureText_ = FailureText();
  TimerDiskSpaceInfo->SetEnabled(false);
  TimerDiskSpaceInfo->OnTimer = nullptr;
  ShowPage(NextPage());
}

void TFormMainDbInstall::ShowFinalPage() {
  SelectTab(TabItem05Final);
  ButtonMkay->SetVisible(true);
  ButtonMkay->SetText(T(TextKey::Finish));
  ButtonExit->SetVisible(false);
  // A failed step must not be reported as a success.
  if (!installationFailed_) return;
  Image2->SetVisible(false);
  TextFinalMessage->SetVisible(false);
  LayoutFinalFailure->SetVisible(true);
  TextFinalFailureHead->SetText(T(TextKey::InstallationNotCompleted));
  TextFinalFailures->SetText(failureText_);
}

bool TFormMainDbInstall::CheckFreeSpace(const std::string& programFolder) {
  const TSpaceShortageVec shortages = Engine->SpaceShortages(programFolder);
  if (shortages.empty()) return true;
  const NumberFormat& format = machine_.system().UserNumberFormat();
  failureText_ = T(TextKey::NotEnoughDiskSpace);
  for (const TSpaceShortage& shortage : shortages) {
    const std::string needed = MegabyteText(shortage.Needed, format);
    const std::string free = MegabyteText(shortage.Free, format);
    failureText_ += "\n" + shortage.Drive + " " +
                    FillPlaceholders(T(TextKey::RequiredDiskSpace), {needed}) + "\n" +
                    shortage.Drive + " " + FillPlaceholders(T(TextKey::AvailableDiskSpace), {free});
    module_.Log().AddLine("Not enough free space on " + shortage.Drive + ": " +
                          std::to_string(shortage.Needed) + " bytes needed, " +
                          std::to_string(shortage.Free) + " free");
  }
  return false;
}

std::string TFormMainDbInstall::FailureText() const {
  std::string text = T(TextKey::DatabasesNotInstalled);
  for (const TDatabaseOutcome& outcome : Engine->Outcomes()) {
    if (outcome.Failure == EInstallFailure::None) continue;
    text += "\n - " + outcome.Name + ": " + T(ReasonKey(outcome.Failure));
  }
  return text;
}

void TFormMainDbInstall::FillTexts() {
  const int count = Engine->DatabaseCount();
  const std::string title =
      T(count < 2 ? TextKey::TitleOneDatabase : TextKey::TitleSeveralDatabases);
  TextWindowTitle->SetText(title);
  TvgApplication::Instance().SetTitle(title);
  SetCaption(title);
  GroupBoxWelcome->SetText(T(TextKey::WelcomeTitle));
  FillWelcomeBlock();
  TextWelcomeFoot02->SetText(T(TextKey::CloseProgramsWarning));
  GroupBoxChoosePath->SetText(T(TextKey::ChoosePathTitle));
  ButtonChoosePathChooseManuallyBrowse->SetText(T(TextKey::Browse));
  BuildProgramChoice();
  GroupBoxVerifyPath->SetText(T(TextKey::VerifyTitle));
  GroupBoxInstallDbs->SetText(title);
  TextInstallMainActivity->SetText(T(TextKey::InstallProgressTitle));
  GroupBoxFinal->SetText(
      T(count < 2 ? TextKey::FinalTitleOneDatabase : TextKey::FinalTitleSeveralDatabases));
  TextFinalMessage->SetText(T(TextKey::InstallationCompleted));
}

void TFormMainDbInstall::FillWelcomeBlock() {
  const TWelcomeBlock block = MakeWelcomeBlock(Engine->CatalogueCopy(), Texts());
  TextWelcomeHead->SetText(block.Head);
  for (size_t i = 0; i < WelcomeDbTexts.size(); ++i) {
    WelcomeDbTexts[i]->SetVisible(block.Lines[i].has_value());
    if (block.Lines[i]) WelcomeDbTexts[i]->SetText(*block.Lines[i]);
  }
  TextWelcomeFoot01->SetText(block.Foot01);
}

void TFormMainDbInstall::BuildProgramChoice() {
  targetChoice_ = TTargetChoiceModel(Engine->TargetPrograms(), T(TextKey::PathPlaceholder));
  const TCadAppInstalledVec& programs = targetChoice_.Programs();
  const TextOfKey text = Texts();
  const bool main = targetChoice_.Offers(ETargetChoice::MainProgram);
  RadioButtonChoosePathMainOne->SetVisible(main);
  if (main) {
    RadioButtonChoosePathMainOne->SetText(
        FillPlaceholders(T(TextKey::MainProgramChoice),
                         {ProgramDisplayName(programs[0], *Engine, text), programs[0].Folder}));
  }
  const bool others = targetChoice_.Offers(ETargetChoice::OtherProgram);
  RadioButtonChoosePathRemainingOnes->SetVisible(others);
  TreeViewPaths->SetVisible(others);
  if (others) {
    RadioButtonChoosePathRemainingOnes->SetText(T(TextKey::OtherProgramChoice));
    for (size_t i = 1; i < programs.size(); ++i) {
      TreeViewPaths->BeginUpdate();
      TvgTreeViewItem& item = TreeViewPaths->AddItem(
          FillPlaceholders(T(TextKey::ProgramTreeItem),
                           {ProgramDisplayName(programs[i], *Engine, text), programs[i].Folder}));
      // Entered before it is checked, so the check handler finds the item's program.
      TreeItemApps[&item] = programs[i];
      item.SetIsChecked(i == 1);
      TreeViewPaths->EndUpdate();
    }
  }
  RadioButtonChoosePathChooseManually->SetText(T(TextKey::ManualChoice));
  TextChoosePathChooseManuallyWarning->SetText(T(Engine->AnyNewFormat()
                                                     ? TextKey::ManualFolderWarningNewFormat
                                                     : TextKey::ManualFolderWarning));
  TextChoosePathChooseManuallyWarning->SetVisible(false);
  TextChoosePathChooseManuallyPath->SetText(targetChoice_.ManualPathText());
  TvgRadioButton& initial =
      main ? *RadioButtonChoosePathMainOne : *RadioButtonChoosePathChooseManually;
  initial.SetIsChecked(true);
  RadioButtonChoosePathChange(initial);
}

void TFormMainDbInstall::FillLocalDrives() {
  for (const TLogicalDriveFound& drive : Engine->LocalDrives()) {
    LocalDrives[ToUpper(drive.letter.substr(0, 1))] = drive;
  }
}

void TFormMainDbInstall::ButtonMkayClick(TvgObject&) {
  if (TabControlMain->Selected() == TabItem05Final) {
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
  if (TabControlMain->Selected() == TabItem05Final) {
    ExitProcessWithCode(installationFailed_ ? kExitCodeInstallFailed : kExitCodeFinished);
  }
  canClose = Engine->ConfirmExit();
}

void TFormMainDbInstall::RadioButtonChoosePathChange(TvgObject& sender) {
  auto* radio = dynamic_cast<TvgRadioButton*>(&sender);
  if (!radio || !radio->IsChecked()) return;
  ETargetChoice choice;
  if (radio == RadioButtonChoosePathMainOne) {
    choice = ETargetChoice::MainProgram;
  } else if (radio == RadioButtonChoosePathRemainingOnes) {
    choice = ETargetChoice::OtherProgram;
  } else if (radio == RadioButtonChoosePathChooseManually) {
    choice = ETargetChoice::ManualFolder;
  } else {
    return;
  }
  targetChoice_.Choose(choice);
  if (choice == ETargetChoice::OtherProgram) {
    TreeViewPaths->SetEnabled(true);
  } else if (TreeViewPaths->Visible()) {
    TreeViewPaths->SetEnabled(false);
  }
  TvgText& warning = *TextChoosePathChooseManuallyWarning;
  if (choice != ETargetChoice::ManualFolder) {
    TextChoosePathChooseManuallyPath->SetTextColor(kDimmedColor);
    ButtonChoosePathChooseManuallyBrowse->SetEnabled(false);
    if (warning.Visible()) warning.SetTextColor(kDimmedColor);
    ButtonMkay->SetEnabled(true);
    return;
  }
  TextChoosePathChooseManuallyPath->SetTextColor(kNormalColor);
  ButtonChoosePathChooseManuallyBrowse->SetEnabled(true);
  if (!targetChoice_.ManualFolderChosen() && targetChoice_.Offers(ETargetChoice::MainProgram)) {
    BrowseForFolder();
  }
  if (warning.Visible()) warning.SetTextColor(kWarningColor);
  RefuseUnusableManualFolder();
}

void TFormMainDbInstall::RefuseUnusableManualFolder() {
  // The welcome page's button belongs to the running-program check.
  if (CurrentPage != EWizardPage::ChoosePath) return;
  if (!targetChoice_.IsChosen(ETargetChoice::ManualFolder)) return;
  const std::string path = WithTrailingBackslash(targetChoice_.ManualPathText());
  if (!IsOnLocalDrive(path, LocalDrives)) ButtonMkay->SetEnabled(false);
}

void TFormMainDbInstall::ButtonChoosePathChooseManuallyBrowseClick(TvgObject&) {
  BrowseForFolder();
}

void TFormMainDbInstall::BrowseForFolder() {
  const std::string start = BrowseStartFolder(targetChoice_.ManualPathText(), machine_.files());
  const std::string caption =
      T(Engine->DatabaseCount() < 2 ? TextKey::BrowseCaptionOneDatabase
                                    : TextKey::BrowseCaptionSeveralDatabases);
  {
    TFolderBrowser browser(machine_, Texts());
    browser.SetOwner(this);
    std::string chosen;
    if (browser.Execute(caption, start, chosen)) {
      targetChoice_.ChooseManualFolder(WithTrailingBackslash(chosen));
      TextChoosePathChooseManuallyPath->SetText(targetChoice_.ManualPathText());
    }
  }
  const std::string& path = targetChoice_.ManualPathText();
  bool recognised = false;
  if (!IsOnLocalDrive(path, LocalDrives)) {
    ButtonMkay->SetEnabled(false);
  } else {
    const TCadAppInstalled found = RecogniseProgramFolder(path, *Engine);
    if (found.ProductLine != EProductLine::None) {
      targetChoice_.RecogniseManualFolder(found);
      recognised = true;
    }
    ButtonMkay->SetEnabled(true);
  }
  if (!recognised) targetChoice_.RefuseManualFolder();
  TextChoosePathChooseManuallyWarning->SetVisible(!recognised);
}

void TFormMainDbInstall::CheckOnlyTreeItem(TvgTreeViewItem* item) {
  const std::vector<TvgTreeViewItem*> items = TreeViewPaths->Items();
  TreeViewPaths->BeginUpdate();
  if (!item) item = TreeViewPaths->Selected();
  if (!item && !items.empty()) item = items.front();
  if (item) {
    for (TvgTreeViewItem* other : items) other->SetIsChecked(other == item);
    TreeViewPaths->SetSelected(item);
    const auto program = TreeItemApps.find(item);
    targetChoice_.CheckOtherProgram(program == TreeItemApps.end() ? TCadAppInstalled{}
                                                                  : program->second);
  }
  TreeViewPaths->EndUpdate();
}

TvgTreeViewItem* TFormMainDbInstall::FirstCheckedTreeItem() const {
  for (TvgTreeViewItem* item : TreeViewPaths->Items()) {
    if (item->IsChecked()) return item;
  }
  return nullptr;
}

void TFormMainDbInstall::TreeViewPathsClick(TvgObject&) {
  TNotifyEvent handler = std::move(TreeViewPaths->OnClick);
  TreeViewPaths->OnClick = nullptr;
  CheckOnlyTreeItem(nullptr);
  TreeViewPaths->OnClick = std::move(handler);
}

void TFormMainDbInstall::TreeViewPathsChangeCheck(TvgObject& sender) {
  TNotifyEvent handler = std::move(TreeViewPaths->OnChangeCheck);
  TreeViewPaths->OnChangeCheck = nullptr;
  CheckOnlyTreeItem(dynamic_cast<TvgTreeViewItem*>(&sender));
  TreeViewPaths->OnChangeCheck = std::move(handler);
}

void TFormMainDbInstall::ResetTreeChoice() {
  const std::vector<TvgTreeViewItem*> items = TreeViewPaths->Items();
  if (items.empty()) return;
  const bool enabled = TreeViewPaths->Enabled();
  TreeViewPaths->SetEnabled(true);
  TreeViewPaths->BeginUpdate();
  items.front()->SetIsChecked(true);
  items.front()->SetIsChecked(false);
  items.front()->SetIsChecked(true);
  TreeViewPaths->EndUpdate();
  TreeViewPaths->SetEnabled(enabled);
}

bool TFormMainDbInstall::PrepareVerifyPage() {
  const TCadAppInstalled target = ChosenTarget();
  const TVerifyPage page = MakeVerifyPage(Engine->ExistingDatabases(target.Folder), Texts());
  TextVerifyPathHeader->SetText(page.Header);
  TextVerifyPathFoota->SetText(page.Foot);
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
  TextWelcomeFoot02->SetTextColor(running ? kWarningColor : kNormalColor);
  TextWelcomeFoot02->SetTextBold(running);
  ButtonMkay->SetEnabled(!running);
  // Before the window is shown there is nothing to pump, and a script must not act on it yet.
  if (Shown()) TvgApplication::Instance().ProcessMessages();
}

void TFormMainDbInstall::TimerDiskSpaceInfoTimer(TTimer&) {
  const std::string folder = ChosenTarget().Folder;
  const std::string drive = ToUpper(folder.substr(0, 2));
  const int64_t freeBytes = Engine->DriveFreeSpace(drive);
  TextInstallDiskSpaceInfo->SetText(
      DiskSpaceText(drive, freeBytes, machine_.system().UserNumberFormat(), Texts()));
}

}  // namespace dbinst
