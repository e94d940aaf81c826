#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "env/Enums.h"
#include "env/ProgramFileForCheckup.h"

namespace dbinst {

class FileSystem;

using TStringToProductMap = std::map<std::string, EProductLine>;
using TProductToStringMap = std::map<EProductLine, std::string>;
using TProductToProductMultimap = std::multimap<EProductLine, EProductLine>;
using TProductToFolderMap = std::map<EProductLine, std::string>;

inline constexpr std::string_view kFamilyRegistryKey = "SOFTWARE\\VELMORA";

// Kinds of a product line's registry key.
enum class EProductKeyKind : int32_t {
  Program = 0,
  PreviousVersion = 1,
  PreviousInstallations = 2,
};

// The lines 1 to 6 in order.
std::vector<EProductLine> AllProductLines();
bool IsKnownProductLine(EProductLine line);

TStringToProductMap MakeStringToProductMap();
TProductToStringMap MakeProductToStringMap(const TStringToProductMap& codes);
TProductToProductMultimap MakeProductToProductMultimap();
// The code trimmed and upper-cased; None when no line has it.
EProductLine ProductLineOfCode(const TStringToProductMap& codes, std::string_view code);

std::string ExecutableOfProductLine(EProductLine line);
std::string ProgramNameOfProductLine(EProductLine line);
// The translation key of the product's name.
int NameKeyOfProductLine(EProductLine line);
// "SOFTWARE\VELMORA" followed by the line's key of that kind.
std::string RegistryKeyOfProductLine(EProductLine line, EProductKeyKind kind);
std::vector<TProgramFileForCheckup> CheckListOfProductLine(EProductLine line);
bool IsNotProfessionalLine(EProductLine line);

// In order of preference.
std::vector<EProductGroup> GroupsAcceptingDatabaseType(EDatabaseType type);
bool HasProductSpecificDatabaseType(EDatabaseType type);
// The translation key of a kind's name: 144 to 149, 150 for any other kind.
int NameKeyOfDatabaseType(EDatabaseType type);

// The folder of a kind's databases inside a program folder, with a trailing backslash; empty for
// an unknown kind. Materials go to the language's own folder only when the program has it.
std::string DatabaseFolder(const FileSystem& files, std::string_view programFolder,
                           EDatabaseType type, std::string_view languageCode,
                           const std::map<std::string, std::string>& materialsFolders);

}  // namespace dbinst
