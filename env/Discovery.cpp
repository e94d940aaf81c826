#include "env/Discovery.h"

#include <cmath>
#include <optional>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/RegistryValue.h"
#include "platform/Text.h"

namespace dbinst {
namespace {

const std::string kInstallationsKey = std::string(kFamilyRegistryKey) + "\\INSTALLATIONS";
const std::string kMainPathsKey = std::string(kFamilyRegistryKey) + "\\MAINPATHS";

// A text value that exists and is not empty; a value of another type counts as missing.
std::optional<std::string> ReadNonEmptyText(const RegistryKey& key, std::string_view name) {
  if (!key.ValueExists(name)) return std::nullopt;
  const std::optional<RegValue> value = key.ReadValue(name);
  std::optional<std::string> text = value ? RegValueText(*value) : std::nullopt;
  if (!text || text->empty()) return std::nullopt;
  return text;
}

std::string ComparableFolder(std::string_view folder) {
  return WithTrailingBackslash(Trim(ToLower(folder)));
}

bool FolderIsRecorded(const TProductToFolderMap& folders, std::string_view folder) {
  const std::string wanted = ComparableFolder(folder);
  for (const auto& [line, recorded] : folders) {
    if (ComparableFolder(recorded) == wanted) return true;
  }
  return false;
}

// The value name with the greatest number; on equal numbers the one listed first.
std::string BestPreviousInstallation(const RegistryKey& key) {
  std::optional<double> best;
  std::string bestName;
  for (const std::string& name : key.ValueNames()) {
    // The default value names no folder.
    if (name.empty()) continue;
    const std::optional<RegValue> value = key.ReadValue(name);
    const std::optional<double> number = value ? RegValueDouble(*value) : std::nullopt;
    if (!number || std::isnan(*number)) continue;
    if (!best || *number > *best) {
      best = number;
      bestName = name;
    }
  }
  return best ? WithTrailingBackslash(bestName) : std::string();
}

std::string PreviousInstallationOf(const Registry& registry, EProductLine line) {
  std::string folder;
  const std::string listKey =
      RegistryKeyOfProductLine(line, EProductKeyKind::PreviousInstallations);
  if (const auto key = registry.OpenKey(RegRoot::CurrentUser, listKey))
    folder = BestPreviousInstallation(*key);
  if (!folder.empty()) return folder;
  const std::string versionKey = RegistryKeyOfProductLine(line, EProductKeyKind::PreviousVersion);
  if (const auto key = registry.OpenKey(RegRoot::CurrentUser, versionKey)) {
    if (const auto runFrom = ReadNonEmptyText(*key, "runfrom"))
      folder = WithTrailingBackslash(*runFrom);
  }
  return folder;
}

TProductToStringMap InstallationKeyNames(const RegistryKey& installations,
                                         const TProductToStringMap& codes) {
  TProductToStringMap names;
  for (const EProductLine line : AllProductLines()) {
    const auto code = codes.find(line);
    if (code == codes.end()) continue;
    if (const auto name = ReadNonEmptyText(installations, code->second)) names[line] = *name;
  }
  return names;
}

void RecordInstallationsOfRoot(const Registry& registry, RegRoot root,
                               const TProductToStringMap& codes, TProductToFolderMap& current) {
  TProductToStringMap names;
  if (const auto installations = registry.OpenKey(root, kInstallationsKey))
    names = InstallationKeyNames(*installations, codes);
  for (const auto& [line, name] : names) {
    if (current.contains(line)) continue;
    const auto key = registry.OpenKey(root, kInstallationsKey + "\\" + name);
    if (!key) continue;
    const auto path = ReadNonEmptyText(*key, "PATH");
    if (path && !FolderIsRecorded(current, *path)) current[line] = WithTrailingBackslash(*path);
  }
}

}  // namespace

TProductToFolderMap FindPreviousInstallations(const Registry& registry) {
  TProductToFolderMap previous;
  for (const EProductLine line :
       {EProductLine::Orvane, EProductLine::OrvaneSelka, EProductLine::Kestrio}) {
    std::string folder = PreviousInstallationOf(registry, line);
    if (!folder.empty()) previous[line] = std::move(folder);
  }
  return previous;
}

void FindCurrentInstallations(const Registry& registry, const TProductToStringMap& codes,
                              TProductToFolderMap& current) {
  for (const RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser})
    RecordInstallationsOfRoot(registry, root, codes, current);
}

void ReadProgramKeys(const Registry& registry, TProductToFolderMap& current,
                     TProductToFolderMap& runFrom) {
  for (const EProductLine line : AllProductLines()) {
    const auto key = registry.OpenKey(RegRoot::CurrentUser,
                                      RegistryKeyOfProductLine(line, EProductKeyKind::Program));
    if (!key) continue;
    const auto value = ReadNonEmptyText(*key, "runfrom");
    if (!value) continue;
    const std::string folder = WithTrailingBackslash(*value);
    runFrom[line] = folder;
    if (!FolderIsRecorded(current, folder) && !current.contains(line)) current[line] = folder;
  }
}

std::string FindFamilyMainFolder(const Registry& registry, const FileSystem& files) {
  for (const RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser}) {
    const auto key = registry.OpenKey(root, kMainPathsKey);
    if (!key) continue;
    const auto value = ReadNonEmptyText(*key, "RootPath");
    const std::string folder = value ? Trim(*value) : std::string();
    if (folder.empty() || !files.FolderExists(folder)) continue;
    const std::string expected = folder.substr(0, 1) + ":\\Velmora";
    if (ToLower(WithoutTrailingBackslash(folder)) == ToLower(expected))
      return WithTrailingBackslash(folder);
  }
  return {};
}

}  // namespace dbinst
