#include "app/WelcomeBlock.h"

#include <vector>

#include "env/TextKeys.h"
#include "platform/Text.h"

namespace dbinst {
namespace {

constexpr std::string_view kLinePrefix = " - ";

// Walls and materials name their target, or nothing when it is empty.
std::string ByTargetName(const TDatabaseEmbedded& database, const TextOfKey& text, int namedKey,
                         int plainKey) {
  if (database.TargetName.empty()) return text(plainKey);
  return FillPlaceholders(text(namedKey), {database.TargetName});
}

std::string Greeting(const TDatabaseEmbedded& database, const TextOfKey& text) {
  switch (database.Type) {
    case EDatabaseType::Tiles:
      return FillPlaceholders(text(TextKey::TilesGreeting), {database.Name});
    case EDatabaseType::Interiors:
      return FillPlaceholders(text(TextKey::InteriorsGreeting), {database.Name});
    case EDatabaseType::Cabinets:
      return FillPlaceholders(text(TextKey::CabinetsGreeting), {database.Name});
    case EDatabaseType::HouseholdAppliances:
      return FillPlaceholders(text(TextKey::AppliancesGreeting), {database.Name});
    case EDatabaseType::Walls:
      return ByTargetName(database, text, TextKey::NamedWallsGreeting, TextKey::WallsGreeting);
    case EDatabaseType::Materials:
      return ByTargetName(database, text, TextKey::NamedMaterialsGreeting,
                          TextKey::MaterialsGreeting);
    default:
      return {};
  }
}

std::vector<const TDatabaseEmbedded*> InCatalogueOrder(
    const TDatabaseEmbeddedVecAfterTypeMap& catalogue) {
  std::vector<const TDatabaseEmbedded*> databases;
  for (const auto& [kind, list] : catalogue) {
    for (const TDatabaseEmbedded& database : list) databases.push_back(&database);
  }
  return databases;
}

}  // namespace

std::string DatabaseLineText(const TDatabaseEmbedded& database, const TextOfKey& text) {
  switch (database.Type) {
    case EDatabaseType::Tiles:
      return FillPlaceholders(text(TextKey::TilesLine), {database.Name});
    case EDatabaseType::Interiors:
      return FillPlaceholders(text(TextKey::InteriorsLine), {database.Name});
    case EDatabaseType::Cabinets:
      return FillPlaceholders(text(TextKey::CabinetsLine), {database.Name});
    case EDatabaseType::HouseholdAppliances:
      return FillPlaceholders(text(TextKey::AppliancesLine), {database.Name});
    case EDatabaseType::Walls:
      return ByTargetName(database, text, TextKey::NamedWallsLine, TextKey::WallsLine);
    case EDatabaseType::Materials:
      return ByTargetName(database, text, TextKey::NamedMaterialsLine, TextKey::MaterialsLine);
    default:
      return {};
  }
}

TWelcomeBlock MakeWelcomeBlock(const TDatabaseEmbeddedVecAfterTypeMap& catalogue,
                               const TextOfKey& text) {
  const std::vector<const TDatabaseEmbedded*> databases = InCatalogueOrder(catalogue);
  const size_t count = databases.size();
  TWelcomeBlock block;
  if (count == 1) {
    block.Head = Greeting(*databases.front(), text);
    block.Foot01 = text(TextKey::WelcomeOneFoot);
    return block;
  }
  // An installer without databases never shows this page: it ends at start-up.
  if (count == 0) return block;
  block.Head = text(TextKey::WelcomeSeveralHead);
  const size_t listed = count <= kWelcomeLineCount ? count : kWelcomeLineCount - 1;
  for (size_t i = 0; i < listed; ++i) {
    const std::string line = DatabaseLineText(*databases[i], text);
    block.Lines[i] = line.empty() ? std::string() : std::string(kLinePrefix) + line;
  }
  if (count > kWelcomeLineCount) {
    block.Lines[kWelcomeLineCount - 1] =
        std::string(kLinePrefix) +
        FillPlaceholders(text(TextKey::OtherDatabases), {std::to_string(count - 5)});
  }
  block.Foot01 = text(TextKey::WelcomeSeveralFoot);
  return block;
}

}  // namespace dbinst
