#include "env/GeneralMod.h"

#include <utility>

#include "env/Discovery.h"
#include "env/Languages.h"
#include "env/MegabyteText.h"
#include "env/TextKeys.h"
#include "platform/FileSystem.h"
#include "platform/Machine.h"
#include "platform/Profile.h"
#include "platform/SystemInfo.h"
#include "platform/Text.h"

namespace dbinst {

TGeneralMod* GeneralMod = nullptr;

namespace {

// The folder of a Windows path with a trailing backslash, as ExtractFilePath cuts it.
std::string FolderOfPath(std::string_view path) {
  const size_t cut = path.find_last_of("\\:");
  return WithTrailingBackslash(cut == std::string_view::npos ? "" : path.substr(0, cut + 1));
}

std::string FolderOrNone(const TProductToFolderMap& folders, EProductLine line) {
  const auto found = folders.find(line);
  return found == folders.end() ? std::string() : found->second;
}

}  // namespace

TGeneralMod::TGeneralMod(Machine& machine, std::vector<std::string> arguments) : machine_(machine) {
  environmentGathered_ = GatherEnvironment(arguments);
  if (commandLine_.programMode != EProgramMode::NoTranslation) {
    table_.Reset();
    ProbeLanguages();
    LoadLanguage(CurrentLanguageCode());
  }
  WriteOpeningLines();
  for (const std::string& note : machine_.TakeNotes()) log_.AddLine(note);
}

void TGeneralMod::DataModuleDestroy() {
  table_.Free();
  log_.Clear();
  jezyki_.clear();
}

bool TGeneralMod::GatherEnvironment(const std::vector<std::string>& arguments) {
  // Every step runs whatever the earlier ones reported.
  bool gathered = SetFixedNames();
  gathered &= GatherProcessorFacts(machine_.registry(), processor_);
  gathered &= GatherWindowsFacts(machine_.registry(), machine_.system(), windows_);
  gathered &= ReadSetupIniSections();
  gathered &= ReadSetupIniValues();
  gathered &= FindInstalledPrograms();
  familyMainFolder_ = FindFamilyMainFolder(machine_.registry(), machine_.files());
  gathered &= SetManualFolderNames();
  commandLine_ = ReadCommandLine(arguments, stringToProduct_, log_);
  return gathered;
}

bool TGeneralMod::SetFixedNames() {
  fixedNames_ = TFixedNames{};
  installerFolder_ = FolderOfPath(machine_.system().ExecutablePath());
  stringToProduct_ = MakeStringToProductMap();
  productToString_ = MakeProductToStringMap(stringToProduct_);
  productToProduct_ = MakeProductToProductMultimap();
  materialsFolders_ = MakeMaterialsFolderMap();
  return true;
}

bool TGeneralMod::ReadSetupIniSections() {
  jezyki_.clear();
  const std::string path = SetupIniPath();
  if (!machine_.files().FileExists(path)) return true;
  const std::optional<std::vector<std::string>> lines = machine_.profiles().ReadTextLines(path);
  if (!lines) return false;
  jezyki_ = ParseLanguageEntries(*lines, machine_.files(), installerFolder_);
  dozwoloneIcady_ = ParseAllowedIcads(*lines, machine_.files(), installerFolder_);
  versionTexts_ = ParseVersionTexts(*lines);
  setupName_ = ParseSetupName(*lines);
  priceList_ = ParsePriceList(*lines);
  return true;
}

bool TGeneralMod::ReadSetupIniValues() {
  if (!machine_.files().FileExists(SetupIniPath())) return true;
  settings_ = ReadSetupIniSettings(machine_.profiles(), SetupIniPath());
  configuredProductLine_ = dbinst::ProductLineOfCode(stringToProduct_, settings_.productLineCode);
  return true;
}

bool TGeneralMod::FindInstalledPrograms() {
  const Registry& registry = machine_.registry();
  previousInstallations_ = FindPreviousInstallations(registry);
  elderOrvanePath_ = FolderOrNone(previousInstallations_, EProductLine::Orvane);
  elderOrvaneSelkaPath_ = FolderOrNone(previousInstallations_, EProductLine::OrvaneSelka);
  elderKestrioPath_ = FolderOrNone(previousInstallations_, EProductLine::Kestrio);
  FindCurrentInstallations(registry, productToString_, currentInstallations_);
  ReadProgramKeys(registry, currentInstallations_, runFromInstallations_);
  return true;
}

bool TGeneralMod::SetManualFolderNames() {
  manualFolderNames_ = {
      "manuals", "Velmora Manuals\\" + dbinst::ProgramNameOfProductLine(configuredProductLine_)};
  return true;
}

void TGeneralMod::ProbeLanguages() {
  if (commandLine_.programMode == EProgramMode::Uninstall) return;
  for (TLanguageEntry& entry : jezyki_) entry.selected = false;
  for (TLanguageEntry& entry : jezyki_) {
    LoadLanguage(entry.code);
    if (!Trim(Text(TextKey::LanguageProbe)).empty()) {
      entry.selected = true;
      return;
    }
  }
}

void TGeneralMod::WriteOpeningLines() {
  log_.AddLine("CPU: " + processor_.name + ", MHz: " + std::to_string(processor_.speedMhz));
  log_.AddLine("System: " + windows_.family + " (" + std::to_string(windows_.versionCode) + ", " +
               (windows_.is64Bit ? "64" : "32") + " bit)");
  log_.AddLine(std::string("Admin rights: ") +
               (windows_.family == "WINNT" ? "Present" : "Can't determine"));
  const EProductLine named = commandLine_.programMode == EProgramMode::Uninstall
                                 ? commandLine_.updateProduct
                                 : configuredProductLine_;
  log_.AddLine("Product name: " + ProductName(named));
  log_.AddLine("Installation files path: " + installerFolder_);
  const auto elderLine = [&](const char* product, const std::string& path) {
    log_.AddLine(std::string("Elder installation path found for ") + product + ": " +
                 (path.empty() ? "[NONE]" : path));
  };
  elderLine("Orvane", elderOrvanePath_);
  elderLine("Orvane Selka", elderOrvaneSelkaPath_);
  elderLine("Kestrio", elderKestrioPath_);
  for (const auto& [line, folder] : currentInstallations_)
    log_.AddLine("Current installation path found for \"" + ProductName(line) + "\": " + folder);
  log_.AddLine("Program mode: " + ProgramModeText(commandLine_.programMode));
  if (!commandLine_.updatePath.empty()) log_.AddLine("Update path: " + commandLine_.updatePath);
  if (commandLine_.updateProduct != EProductLine::None)
    log_.AddLine("Update product: " + ProductName(commandLine_.updateProduct));
}

const std::string& TGeneralMod::ProductName(EProductLine line) const {
  return Text(NameKeyOfProductLine(line));
}

const std::string& TGeneralMod::DatabaseTypeName(EDatabaseType type) const {
  return Text(NameKeyOfDatabaseType(type));
}

std::string TGeneralMod::CurrentLanguageCode() const {
  switch (commandLine_.programMode) {
    case EProgramMode::DatabaseInstaller:
      return windows_.systemLanguageCode.empty() ? "lang1" : windows_.systemLanguageCode;
    case EProgramMode::Uninstall:
      return commandLine_.uninstallLanguageCode.empty() ? "lang0"
                                                        : commandLine_.uninstallLanguageCode;
    default:
      for (const TLanguageEntry& entry : jezyki_) {
        if (entry.selected) return entry.code;
      }
      return "lang0";
  }
}

void TGeneralMod::LoadLanguage(std::string_view code) {
  table_.LoadLanguage(machine_.resources(), code);
}

std::string TGeneralMod::CurrentInstallationFolder(EProductLine line) const {
  return FolderOrNone(currentInstallations_, line);
}

std::string TGeneralMod::PreviousInstallationFolder(EProductLine line) const {
  return FolderOrNone(previousInstallations_, line);
}

EProductLine TGeneralMod::ProductLineOfCode(std::string_view code) const {
  return dbinst::ProductLineOfCode(stringToProduct_, code);
}

std::string TGeneralMod::CodeOfProductLine(EProductLine line) const {
  const auto found = productToString_.find(line);
  return found == productToString_.end() ? std::string() : found->second;
}

std::string TGeneralMod::ExecutableOfProductLine(EProductLine line) const {
  return dbinst::ExecutableOfProductLine(line);
}

std::string TGeneralMod::ProgramNameOfProductLine(EProductLine line) const {
  return dbinst::ProgramNameOfProductLine(line);
}

std::vector<TProgramFileForCheckup> TGeneralMod::CheckListOfProductLine(EProductLine line) const {
  return dbinst::CheckListOfProductLine(line);
}

std::vector<EProductGroup> TGeneralMod::GroupsAcceptingDatabaseType(EDatabaseType type) const {
  return dbinst::GroupsAcceptingDatabaseType(type);
}

std::string TGeneralMod::DatabaseFolder(std::string_view programFolder, EDatabaseType type) const {
  return dbinst::DatabaseFolder(machine_.files(), programFolder, type, CurrentLanguageCode(),
                                materialsFolders_);
}

bool TGeneralMod::IsNotProfessionalLine(EProductLine line) const {
  return dbinst::IsNotProfessionalLine(line);
}

bool TGeneralMod::HasProductSpecificDatabaseType(EDatabaseType type) const {
  return dbinst::HasProductSpecificDatabaseType(type);
}

std::string TGeneralMod::MegabyteText(int64_t bytes) const {
  return dbinst::MegabyteText(bytes, machine_.system().UserNumberFormat());
}

}  // namespace dbinst
