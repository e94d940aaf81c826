#include "tools/demoprefix/FamilyProgram.h"

#include <algorithm>
#include <stdexcept>

#include "platform/Text.h"

namespace dbinst {
namespace {

struct ProductFacts {
  const char* code;
  const char* executable;
  const char* programKey;
  const char* version;
};

constexpr ProductFacts kProducts[] = {
    {"OV", "Orvane.exe", "ORVANE2", "2.0.0.0"},
    {"OVS", "Orvane_Selka.exe", "ORVANE2", "2.0.0.0"},
    {"OVD", "Orvane.exe", "ORVANE2", "2.0.0.0"},
    {"KS", "Kestrio.exe", "KESTRIO6", "6.0.0.0"},
    {"OVPRO", "OrvanePro.exe", "ORVANEPRO", "2.0.0.0"},
    {"OVPROD", "OrvanePro.exe", "ORVANEPRO", "2.0.0.0"},
};

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& each) { return EqualsNoCase(each, name); });
}

}  // namespace

FamilyProgram::FamilyProgram(std::string code, std::string folder)
    : code_(ToUpper(Trim(code))), folder_(WithoutTrailingBackslash(folder)) {
  const auto facts = std::find_if(std::begin(kProducts), std::end(kProducts),
                                  [&](const ProductFacts& each) { return code_ == each.code; });
  if (facts == std::end(kProducts)) throw std::invalid_argument("unknown product code " + code);
  executable_ = facts->executable;
  programKey_ = facts->programKey;
  executableVersion_ = facts->version;
}

FamilyProgram& FamilyProgram::ExecutableVersion(std::string text) {
  executableVersion_ = std::move(text);
  return *this;
}

FamilyProgram& FamilyProgram::LibraryVersions(std::string manager, std::string kafle) {
  managerVersion_ = std::move(manager);
  kafleVersion_ = std::move(kafle);
  return *this;
}

FamilyProgram& FamilyProgram::Without(std::string fileName) {
  missing_.push_back(std::move(fileName));
  return *this;
}

FamilyProgram& FamilyProgram::WithoutVersionResource(std::string fileName) {
  unversioned_.push_back(std::move(fileName));
  return *this;
}

FamilyProgram& FamilyProgram::DatabaseFolders(std::vector<std::string> names) {
  databaseFolders_ = std::move(names);
  return *this;
}

FamilyProgram& FamilyProgram::RegisteredIn(RegRoot root, std::string keyName) {
  registrationRoot_ = root;
  installationKey_ = std::move(keyName);
  return *this;
}

FamilyProgram& FamilyProgram::RunFrom() {
  runFrom_ = true;
  return *this;
}

std::vector<FamilyProgram::File> FamilyProgram::Files() const {
  std::vector<File> files;
  const std::pair<std::string, std::string> all[] = {{executable_, executableVersion_},
                                                     {"Manager.dll", managerVersion_},
                                                     {"kafle.dll", kafleVersion_}};
  for (const auto& [name, version] : all) {
    if (Contains(missing_, name)) continue;
    files.push_back({name, version, !Contains(unversioned_, name)});
  }
  return files;
}

std::array<uint16_t, 4> FixedVersionOf(const std::string& text) {
  std::array<uint16_t, 4> numbers{};
  const std::string trimmed = Trim(text);
  size_t start = 0;
  for (auto& number : numbers) {
    if (start > trimmed.size()) break;
    const size_t dot = std::min(trimmed.find('.', start), trimmed.size());
    const auto value = ParseInteger(trimmed.substr(start, dot - start));
    number = value && *value >= 0 && *value <= 0xFFFF ? static_cast<uint16_t>(*value) : 0;
    start = dot + 1;
  }
  return numbers;
}

}  // namespace dbinst
