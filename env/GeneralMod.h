#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "env/CommandLine.h"
#include "env/Enums.h"
#include "env/FixedNames.h"
#include "env/InstallLog.h"
#include "env/ProductLines.h"
#include "env/ProgramFileForCheckup.h"
#include "env/SetupIni.h"
#include "env/SystemFacts.h"
#include "env/TranslationTable.h"

namespace dbinst {

class Machine;

// The environment of the run: texts, log, product lines, installed programs and machine facts,
// gathered once at construction and read-only afterwards.
class TGeneralMod {
 public:
  // arguments: the command line without the program itself.
  TGeneralMod(Machine& machine, std::vector<std::string> arguments);

  // Frees the translation table and the log and empties the language entries.
  void DataModuleDestroy();

  // Texts
  const std::string& Text(int key) const { return table_.Text(key); }
  const std::string& ProductName(EProductLine line) const;
  const std::string& DatabaseTypeName(EDatabaseType type) const;
  std::string CurrentLanguageCode() const;
  void ResetTable() { table_.Reset(); }
  void LoadLanguage(std::string_view code);

  // Product lines and installed programs
  std::string CurrentInstallationFolder(EProductLine line) const;
  std::string PreviousInstallationFolder(EProductLine line) const;
  EProductLine ProductLineOfCode(std::string_view code) const;
  std::string CodeOfProductLine(EProductLine line) const;
  std::string ExecutableOfProductLine(EProductLine line) const;
  std::string ProgramNameOfProductLine(EProductLine line) const;
  std::vector<TProgramFileForCheckup> CheckListOfProductLine(EProductLine line) const;
  std::vector<EProductGroup> GroupsAcceptingDatabaseType(EDatabaseType type) const;
  std::string DatabaseFolder(std::string_view programFolder, EDatabaseType type) const;
  bool IsNotProfessionalLine(EProductLine line) const;
  bool HasProductSpecificDatabaseType(EDatabaseType type) const;
  std::string MegabyteText(int64_t bytes) const;
  const std::string& InstallerFolder() const { return installerFolder_; }
  EProductLine ConfiguredProductLine() const { return configuredProductLine_; }

  const TProductToFolderMap& CurrentInstallations() const { return currentInstallations_; }
  const TProductToFolderMap& PreviousInstallations() const { return previousInstallations_; }
  const TProductToFolderMap& RunFromInstallations() const { return runFromInstallations_; }
  const TStringToProductMap& StringToProduct() const { return stringToProduct_; }
  const TProductToStringMap& ProductToString() const { return productToString_; }
  const TProductToProductMultimap& ProductToProduct() const { return productToProduct_; }
  const std::map<std::string, std::string>& MaterialsFolders() const { return materialsFolders_; }
  const TFixedNames& FixedNames() const { return fixedNames_; }

  // Log
  InstallLog& Log() { return log_; }

  // Machine facts
  const std::string& ProcessorName() const { return processor_.name; }
  int32_t ProcessorSpeedMhz() const { return processor_.speedMhz; }
  const std::string& WindowsFamily() const { return windows_.family; }
  int32_t WindowsVersionCode() const { return windows_.versionCode; }
  bool IsNT() const { return windows_.isNT; }
  bool Is64Bit() const { return windows_.is64Bit; }
  const std::string& SystemLanguageCode() const { return windows_.systemLanguageCode; }

  // The family's Setup.ini
  const std::vector<TLanguageEntry>& jezyki() const { return jezyki_; }
  const std::vector<TAllowedIcad>& dozwolone_icady() const { return dozwoloneIcady_; }

  // Command line
  EProgramMode ProgramMode() const { return commandLine_.programMode; }
  const std::string& UpdatePath() const { return commandLine_.updatePath; }
  EProductLine UpdateProduct() const { return commandLine_.updateProduct; }
  bool IsSilent() const { return commandLine_.silent; }
  const std::string& LogFile() const { return commandLine_.logFile; }
  const std::string& ResultFile() const { return commandLine_.resultFile; }
  bool ListOnly() const { return commandLine_.listOnly; }
  int32_t HostWaitSeconds() const { return commandLine_.hostWaitSeconds; }

 private:
  bool GatherEnvironment(const std::vector<std::string>& arguments);
  bool SetFixedNames();
  bool ReadSetupIniSections();
  bool ReadSetupIniValues();
  bool FindInstalledPrograms();
  bool SetManualFolderNames();
  void ProbeLanguages();
  void WriteOpeningLines();
  std::string SetupIniPath() const { return installerFolder_ + std::string(kSetupIniName); }

  Machine& machine_;
  TranslationTable table_;
  InstallLog log_;
  TFixedNames fixedNames_;
  std::string installerFolder_;
  ProcessorFacts processor_;
  WindowsFacts windows_;
  std::vector<TLanguageEntry> jezyki_;
  std::vector<TAllowedIcad> dozwoloneIcady_;
  std::map<std::string, std::string> versionTexts_;
  std::string setupName_;
  PriceList priceList_;
  SetupIniSettings settings_;
  EProductLine configuredProductLine_ = EProductLine::None;
  TStringToProductMap stringToProduct_;
  TProductToStringMap productToString_;
  TProductToProductMultimap productToProduct_;
  std::map<std::string, std::string> materialsFolders_;
  TProductToFolderMap currentInstallations_;
  TProductToFolderMap previousInstallations_;
  TProductToFolderMap runFromInstallations_;
  std::string elderOrvanePath_;
  std::string elderOrvaneSelkaPath_;
  std::string elderKestrioPath_;
  std::string familyMainFolder_;
  std::vector<std::string> manualFolderNames_;
  CommandLineFields commandLine_;
  bool environmentGathered_ = false;
};

// The one module of the run, set by the application once it is built.
extern TGeneralMod* GeneralMod;

}  // namespace dbinst
