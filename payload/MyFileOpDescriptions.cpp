#include <ctime>

#include "env/MessagePump.h"
#include "payload/MyFileOp.h"
#include "payload/ShellOps.h"
#include "platform/FileSystem.h"
#include "platform/Machine.h"
#include "platform/Profile.h"
#include "platform/Text.h"

namespace dbinst {
namespace {

constexpr int kExtractionFolderChoices = 9;

// Two different defaults tell a key that is there from one that is not.
bool KeyExists(const ProfileReader& profiles, std::string_view file, std::string_view section,
               std::string_view key) {
  return profiles.GetString(file, section, key, "0") != "0" ||
         profiles.GetString(file, section, key, "1") != "1";
}

int64_t ReadInteger(const ProfileReader& profiles, std::string_view file, std::string_view section,
                    std::string_view key, int64_t defaultValue) {
  const std::string text = profiles.GetString(file, section, key, "");
  return ParseInteger(Trim(text)).value_or(defaultValue);
}

bool ReadBool(const ProfileReader& profiles, std::string_view file, std::string_view section,
              std::string_view key, bool defaultValue) {
  return ReadInteger(profiles, file, section, key, defaultValue ? 1 : 0) != 0;
}

TDatabaseDate ReadDateOrEmpty(const ProfileReader& profiles, std::string_view file,
                              std::string_view key) {
  if (!KeyExists(profiles, file, "info", key)) return {};
  return ParseDatabaseDate(profiles.GetString(file, "info", key, ""));
}

TDatabaseDate LocalDateOf(int64_t secondsSince1970) {
  const std::time_t time = static_cast<std::time_t>(secondsSince1970);
  const std::tm* local = std::localtime(&time);
  if (!local) return {};
  return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday};
}

}  // namespace

std::string MyFileOp::GetExtractionFolder() const {
  return WithTrailingBackslash(shellOps_->TempFolder) + extractionFolderName_ + "\\";
}

// Another installer running for the same user works in the folder of the usual name; this one
// takes the next free name, so that neither deletes the other's files.
void MyFileOp::ClaimExtractionFolder() {
  extractionFolderName_ = std::string(kExtractionFolderName);
  if (shellOps_->TempFolder.empty()) return;
  const std::string temp = WithTrailingBackslash(shellOps_->TempFolder);
  for (int number = 1; number <= kExtractionFolderChoices; ++number) {
    const std::string name =
        std::string(kExtractionFolderName) + (number == 1 ? "" : "_" + std::to_string(number));
    extractionLock_ = machine_.files().TryLock(temp + name + ".lock");
    if (extractionLock_) {
      extractionFolderName_ = name;
      return;
    }
    // A folder that takes no lock file takes no extraction either; the usual name then fails.
    if (!machine_.files().FolderExists(WithoutTrailingBackslash(temp))) return;
  }
}

bool MyFileOp::ReadEmbeddedDescription(TDatabaseEmbedded& database) const {
  if (database.IniResource.empty() || database.ArchiveResource.empty() ||
      database.DescriptionFile.empty() || !machine_.files().FileExists(database.DescriptionFile)) {
    return false;
  }
  const ProfileReader& profiles = machine_.profiles();
  const std::string& file = database.DescriptionFile;
  const uint32_t codePage = database.CodePage;
  ReadDescriptionFields(
      [&](std::string_view section, std::string_view key, std::string_view defaultValue) {
        if (codePage == 0) return profiles.GetString(file, section, key, defaultValue);
        return profiles.GetStringInCodePage(file, section, key, defaultValue, codePage);
      },
      database);
  return true;
}

bool MyFileOp::IsCatalogueEntry(const TDatabaseEmbedded& database) {
  if (database.IniResource.empty() || database.ArchiveResource.empty() ||
      database.DescriptionFile.empty() || database.Type == EDatabaseType::None) {
    return false;
  }
  return !IsNamedDatabaseType(database.Type) || !database.Name.empty();
}

TDatabaseEmbeddedVecAfterTypeMap MyFileOp::GroupByType(const TDatabaseEmbeddedVec& databases) {
  TDatabaseEmbeddedVecAfterTypeMap catalogue;
  for (const TDatabaseEmbedded& database : databases) {
    if (IsCatalogueEntry(database)) catalogue[database.Type].push_back(database);
  }
  return catalogue;
}

std::vector<std::string> MyFileOp::InstalledDescriptionCandidates(
    std::string_view kindFolder, const TDatabaseEmbedded& database) const {
  std::string folder;
  std::string pattern;
  switch (database.Type) {
    case EDatabaseType::Tiles:
      folder = std::string(kindFolder);
      pattern = folder + ChangeFileExtension(database.TargetName, ".ini");
      break;
    case EDatabaseType::Interiors:
    case EDatabaseType::Cabinets:
    case EDatabaseType::HouseholdAppliances:
      folder = std::string(kindFolder) + database.TargetName + "\\";
      pattern = folder + "*.ini";
      break;
    default:
      return {};
  }
  std::vector<std::string> candidates;
  for (const DirEntry& entry : machine_.files().Find(pattern)) {
    if (entry.isFolder || entry.name == "." || entry.name == "..") continue;
    candidates.push_back(folder + entry.name);
  }
  ProcessMessages();
  return candidates;
}

bool MyFileOp::FindInstalledDatabase(std::string_view kindFolder, const TDatabaseEmbedded& database,
                                     TDatabaseDate& installedDate) const {
  TDatabaseBase base;
  for (const std::string& candidate : InstalledDescriptionCandidates(kindFolder, database)) {
    if (!base.Name.empty()) break;
    ReadInstalledDescription(candidate, base);
    installedDate = base.MDate;
  }
  return !base.Name.empty();
}

bool MyFileOp::ReadInstalledDescription(std::string_view iniPath, TDatabaseBase& base) const {
  const FileSystem& files = machine_.files();
  if (!files.FileExists(iniPath)) return false;
  const ProfileReader& profiles = machine_.profiles();
  base.Name = profiles.GetString(iniPath, "info", "BAZA", base.Name);
  base.DataText = profiles.GetString(iniPath, "info", "DATA", base.DataText);
  base.Special = ReadBool(profiles, iniPath, "info", "SPECIAL", false);
  if (KeyExists(profiles, iniPath, "info", "USERDB")) {
    base.UserDb = ReadBool(profiles, iniPath, "info", "USERDB", base.UserDb);
  } else if (KeyExists(profiles, iniPath, "info", "USER")) {
    base.UserDb = ReadBool(profiles, iniPath, "info", "USER", base.UserDb);
  }
  base.MDate = ReadDateOrEmpty(profiles, iniPath, "MDATE");
  base.UDate = ReadDateOrEmpty(profiles, iniPath, "UDATE");
  if (!base.MDate.IsValid() || !base.UDate.IsValid()) {
    TDatabaseDate fallback = ParseDatabaseDate(base.DataText);
    if (!fallback.IsValid()) {
      const auto written = files.LastWriteTime(iniPath);
      fallback = written ? LocalDateOf(*written) : TDatabaseDate{};
    }
    if (!base.MDate.IsValid()) base.MDate = fallback;
    if (!base.UDate.IsValid()) base.UDate = fallback;
  }
  return true;
}

}  // namespace dbinst
