#include <cstdio>

#include "payload/MyFileOp.h"
#include "payload/ResourceFile.h"
#include "platform/FileSystem.h"
#include "platform/Machine.h"
#include "platform/Profile.h"
#include "platform/Text.h"

namespace dbinst {
namespace {

std::string Numbered(const char* pattern, int number) {
  char name[64];
  std::snprintf(name, sizeof name, pattern, number);
  return name;
}

// The packer records the code page a description was written in; installers packed before it
// did, and the sample build, read descriptions in the machine's own.
uint32_t CodePageOfDescription(const ResourceModule& module, const std::string& resource) {
  const auto text = ReadResourceBytes(module, resource, 16);
  const auto number = text ? ParseInteger(Trim(*text)) : std::nullopt;
  return number && *number > 0 && *number <= 65535 ? static_cast<uint32_t>(*number) : 0;
}

}  // namespace

TDatabaseEmbeddedVecAfterTypeMap MyFileOp::GetEmbeddedCatalogue() {
  TDatabaseEmbeddedVec databases = ListEmbeddedDatabases();
  if (!LoadEmbeddedDescriptions(databases)) return {};
  return GroupByType(databases);
}

TDatabaseEmbeddedVec ListEmbeddedDatabasesOf(const ResourceModule& module) {
  TDatabaseEmbeddedVec databases;
  for (int number = 1;; ++number) {
    TDatabaseEmbedded database;
    database.IniResource = Numbered("DB%02dINI", number);
    database.ArchiveResource = Numbered("DB%02dFULL", number);
    if (GetResourceSize(module, database.IniResource) <= 0 ||
        GetResourceSize(module, database.ArchiveResource) <= 0) {
      return databases;
    }
    database.CodePage = CodePageOfDescription(module, Numbered("DB%02dCP", number));
    databases.push_back(std::move(database));
  }
}

TDatabaseEmbeddedVecAfterTypeMap ReadCatalogueOf(const ResourceModule& module,
                                                 const DescriptionTextValue& value) {
  TDatabaseEmbeddedVec databases = ListEmbeddedDatabasesOf(module);
  for (TDatabaseEmbedded& database : databases) {
    const auto text = ReadResourceBytes(module, database.IniResource);
    if (!text) return {};
    // Read where it is; the name only marks that the description was there.
    database.DescriptionFile = database.IniResource;
    ReadDescriptionFields(
        [&](std::string_view section, std::string_view key, std::string_view defaultValue) {
          return value(*text, database.CodePage, section, key, defaultValue);
        },
        database);
  }
  return MyFileOp::GroupByType(databases);
}

TDatabaseEmbeddedVec MyFileOp::ListEmbeddedDatabases() const {
  return ListEmbeddedDatabasesOf(machine_.resources());
}

TDatabaseEmbeddedVecAfterTypeMap MyFileOp::ReadEmbeddedCatalogue() const {
  const ProfileReader& profiles = machine_.profiles();
  return ReadCatalogueOf(
      machine_.resources(), [&](std::string_view text, uint32_t codePage, std::string_view section,
                                std::string_view key, std::string_view defaultValue) {
        return profiles.GetStringFromText(text, section, key, defaultValue, codePage);
      });
}

bool MyFileOp::LoadEmbeddedDescriptions(TDatabaseEmbeddedVec& databases) {
  const std::string folder = GetExtractionFolder();
  const std::string folderName = WithoutTrailingBackslash(folder);
  FileSystem& files = machine_.files();
  if (PathExists(folderName)) {
    files.SetReadOnly(folderName, false);
    DeletePath(folderName, false);
  }
  if (!files.CreateFolders(folderName)) return false;
  int position = 0;
  for (TDatabaseEmbedded& database : databases) {
    ++position;
    if (database.IniResource.empty() || database.ArchiveResource.empty()) return false;
    const std::string path = folder + Numbered("DbIni%02d.ini", position);
    if (!ExtractResourceToFile(nullptr, database.IniResource, path)) return false;
    database.DescriptionFile = path;
    if (!ReadEmbeddedDescription(database)) return false;
  }
  return true;
}

}  // namespace dbinst
