#include "app/WelcomeBlock.h"

#include <vector>

#include "platform/Text.h"

namespace dbinst {
namespace {

constexpr int kSeveralHeadKey = 215;
constexpr int kOneFootKey = 247;
constexpr int kSeveralFootKey = 222;
constexpr int kOthersKey = 225;
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
      return FillPlaceholders(text(216), {database.Name});
    case EDatabaseType::Interiors:
      return FillPlaceholders(text(217), {database.Name});
    case EDatabaseType::Cabinets:
      return FillPlaceholders(text(218), {database.Name});
    case EDatabaseType::HouseholdAppliances:
      return FillPlaceholders(text(219), {database.Name});
    case EDatabaseType::Walls:
      return ByTargetName(database, text, 249, 220);
    case EDatabaseType::Materials:
      return ByTargetName(database, text, 250, 221);
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
      return FillPlaceholders(text(209), {database.Name});
    case EDatabaseType::Interiors:
      return FillPlaceholders(text(210), {database.Name});
    case EDatabaseType::Cabinets:
      return FillPlaceholders(text(211), {database.Name});
    case EDatabaseType::HouseholdAppliances:
      return FillPlaceholders(text(212), {database.Name});
    case EDatabaseType::Walls:
      return ByTargetName(database, text, 251, 213);
    case EDatabaseType::Materials:
      return ByTargetName(database, text, 252, 214);
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
    block.Foot01 = text(kOneFootKey);
    return block;
  }
  // An installer without databases never shows this page: it ends at start-up.
  if (count == 0) return block;
  block.Head = text(kSeveralHeadKey);
  const size_t listed = count <= kWelcomeLineCount ? count : kWelcomeLineCount - 1;
  for (size_t i = 0; i < listed; ++i) {
    const std::string line = DatabaseLineText(*databases[i], text);
    block.Lines[i] = line.empty() ? std::string() : std::string(kLinePrefix) + line;
  }
  if (count > kWelcomeLineCount) {
    block.Lines[kWelcomeLineCount - 1] =
        std::string(kLinePrefix) + FillPlaceholders(text(kOthersKey), {std::to_string(count - 5)});
  }
  block.Foot01 = text(kSeveralFootKey);
  return block;
}

}  // namespace dbinst
