#include "engine/TargetPrograms.h"

#include "env/GeneralMod.h"
#include "payload/MyFileOp.h"
#include "payload/ShellOps.h"
#include "platform/Text.h"

namespace dbinst {
namespace {

bool MeetsMinimum(const TFileVersionNumbers& version, const TProgramFileForCheckup& file) {
  return version.major > file.minMajor ||
         (version.major == file.minMajor && version.minor >= file.minMinor);
}

// The line's folder when it holds all its files, with a trailing backslash; empty otherwise.
std::string PresentProgramFolder(const MyFileOp& fileOp, const TGeneralMod& module,
                                 EProductLine line, TProgramFolderCheck& check) {
  const std::string folder = module.CurrentInstallationFolder(line);
  if (folder.empty() || !CheckProgramFolder(fileOp, module, folder, line, check) ||
      !check.FilesPresent) {
    return {};
  }
  return WithTrailingBackslash(folder);
}

void SortIntoGroup(const MyFileOp& fileOp, const TGeneralMod& module, EProductLine line,
                   TCadAppInstalledVec& current, TCadAppInstalledVec& old) {
  TProgramFolderCheck check;
  const std::string folder = PresentProgramFolder(fileOp, module, line, check);
  if (folder.empty()) return;
  (check.VersionsMet ? current : old).push_back({line, folder});
}

bool AnyTileDatabaseInNewFormat(const TDatabaseEmbeddedVecAfterTypeMap& catalogue) {
  const auto tiles = catalogue.find(EDatabaseType::Tiles);
  if (tiles == catalogue.end()) return false;
  for (const TDatabaseEmbedded& database : tiles->second) {
    if (database.FormatFdb) return true;
  }
  return false;
}

void ApplyKindRules(const TDatabaseEmbeddedVecAfterTypeMap& catalogue, TTargetProgramLists& lists) {
  for (const auto& [kind, databases] : catalogue) {
    if (databases.empty()) continue;
    if (kind == EDatabaseType::Tiles && AnyTileDatabaseInNewFormat(catalogue)) {
      lists.Group1OldApps.clear();
      lists.Group2OldApps.clear();
    } else if (kind == EDatabaseType::Cabinets || kind == EDatabaseType::HouseholdAppliances) {
      lists.Group1Apps.clear();
      lists.Group1OldApps.clear();
    }
  }
  if (!lists.Group1Apps.empty()) lists.Group1OldApps.clear();
  if (!lists.Group2Apps.empty()) lists.Group2OldApps.clear();
  if (!lists.Group3Apps.empty()) {
    lists.Group1OldApps.clear();
    lists.Group2OldApps.clear();
  }
}

const TCadAppInstalledVec& CurrentOrOld(const TCadAppInstalledVec& current,
                                        const TCadAppInstalledVec& old) {
  return current.empty() && !old.empty() ? old : current;
}

void Append(TCadAppInstalledVec& to, const TCadAppInstalledVec& from) {
  to.insert(to.end(), from.begin(), from.end());
}

}  // namespace

bool CheckProgramFolder(const MyFileOp& fileOp, const TGeneralMod& module, std::string_view folder,
                        EProductLine line, TProgramFolderCheck& check) {
  const std::string withBackslash = WithTrailingBackslash(folder);
  // A folder that does not exist counts as empty.
  if (fileOp.IsFolderEmpty(withBackslash)) return false;
  bool filesPresent = true;
  bool versionsMet = true;
  for (const TProgramFileForCheckup& file : module.CheckListOfProductLine(line)) {
    if (!filesPresent) break;
    const std::string path = withBackslash + file.fileName;
    filesPresent = fileOp.PathExists(path);
    const TFileVersionNumbers version = fileOp.Shell().FileVersionNumbers(path);
    versionsMet = versionsMet && filesPresent && MeetsMinimum(version, file);
  }
  check = {filesPresent, versionsMet};
  return true;
}

bool ProgramVersionText(const MyFileOp& fileOp, const TGeneralMod& module, std::string_view folder,
                        EProductLine line, std::string& text) {
  if (folder.empty()) return false;
  const std::string path = WithTrailingBackslash(folder) + module.ExecutableOfProductLine(line);
  if (!fileOp.PathExists(path)) return false;
  const TFileVersionNumbers version = fileOp.Shell().FileVersionNumbers(path);
  text = std::to_string(version.major) + "." + std::to_string(version.minor);
  return true;
}

void FindTargetPrograms(const MyFileOp& fileOp, const TGeneralMod& module,
                        const TDatabaseEmbeddedVecAfterTypeMap& catalogue,
                        TTargetProgramLists& lists) {
  lists = {};
  for (EProductLine line :
       {EProductLine::Orvane, EProductLine::OrvaneSelka, EProductLine::OrvaneDemo}) {
    SortIntoGroup(fileOp, module, line, lists.Group1Apps, lists.Group1OldApps);
  }
  SortIntoGroup(fileOp, module, EProductLine::Kestrio, lists.Group2Apps, lists.Group2OldApps);
  for (EProductLine line : {EProductLine::OrvanePro, EProductLine::OrvaneProDemo}) {
    TProgramFolderCheck check;
    const std::string folder = PresentProgramFolder(fileOp, module, line, check);
    if (!folder.empty() && check.VersionsMet) lists.Group3Apps.push_back({line, folder});
  }
  ApplyKindRules(catalogue, lists);
  if (catalogue.empty()) return;
  for (EProductGroup group : module.GroupsAcceptingDatabaseType(catalogue.begin()->first)) {
    switch (group) {
      case EProductGroup::Orvane:
        Append(lists.TargetApps, CurrentOrOld(lists.Group1Apps, lists.Group1OldApps));
        break;
      case EProductGroup::Kestrio:
        Append(lists.TargetApps, CurrentOrOld(lists.Group2Apps, lists.Group2OldApps));
        break;
      case EProductGroup::OrvanePro:
        Append(lists.TargetApps, lists.Group3Apps);
        break;
    }
  }
}

}  // namespace dbinst
