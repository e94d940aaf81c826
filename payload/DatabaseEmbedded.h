#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "env/Enums.h"

namespace dbinst {

// A calendar date as the package descriptions write it; a year alone leaves month and day 0.
struct TDatabaseDate {
  int32_t Year = 0;
  int32_t Month = 0;
  int32_t Day = 0;

  bool IsEmpty() const { return Year == 0 && Month == 0 && Day == 0; }
  bool IsValid() const { return Year >= 1 && Month >= 1 && Day >= 1; }
  // "%02d.%02d.%04d", day first.
  std::string DisplayText() const;
  bool operator==(const TDatabaseDate&) const = default;
};

// "%d-%02d-%02d": reading stops at the first part that does not match.
TDatabaseDate ParseDatabaseDate(std::string_view text);

// One database package the installer carries.
struct TDatabaseEmbedded {
  std::string IniResource;
  std::string ArchiveResource;
  // The code page its publisher wrote the description in; 0 for the machine's own.
  uint32_t CodePage = 0;
  std::string DescriptionFile;
  std::string Name;
  std::string DataText;
  TDatabaseDate MDate;
  TDatabaseDate UDate;
  EDatabaseType Type = EDatabaseType::None;
  std::string TargetName;
  int64_t TargetSize = 0;
  bool FormatFdb = false;
  std::string ArchiveFile;
  int64_t ArchiveSize = 0;
  // The unpacked size of the archive's items as it lists them; -1 until it has been listed.
  int64_t ListedSize = -1;
};

using TDatabaseEmbeddedVec = std::vector<TDatabaseEmbedded>;
using TDatabaseEmbeddedVecAfterTypeMap = std::map<EDatabaseType, TDatabaseEmbeddedVec>;
using TDatabaseAndTargetDatePairVec = std::vector<std::pair<TDatabaseEmbedded, TDatabaseDate>>;

// What the ini of a database already installed in a program says of it.
struct TDatabaseBase {
  std::string Name;
  std::string DataText;
  bool UserDb = false;
  bool Special = false;
  TDatabaseDate MDate;
  TDatabaseDate UDate;
};

// One value of a package description: section, key and the text when it is missing.
using DescriptionValue = std::function<std::string(std::string_view section, std::string_view key,
                                                   std::string_view defaultValue)>;
// Fills what a description says of its database: name, dates, kind, target name and size, format.
void ReadDescriptionFields(const DescriptionValue& value, TDatabaseEmbedded& database);

// The kind a TYPE string names, compared exactly; None for anything else.
EDatabaseType DatabaseTypeOfText(std::string_view text);
// The TYPE string of a kind ("TILES"); empty for None.
std::string TextOfDatabaseType(EDatabaseType type);
// The file name with its extension replaced (or added), as ChangeFileExt does.
std::string ChangeFileExtension(std::string_view name, std::string_view extension);
// A name that stays one component of a path: no separators, drive colons, wildcards, "." or "..".
bool IsPlainFileName(std::string_view name);
// The kinds whose packages need a BAZA name.
bool IsNamedDatabaseType(EDatabaseType type);

}  // namespace dbinst
