#include "ui/FormVocabulary.h"

#include <memory>
#include <utility>
#include <vector>

#include "ui/FormLoader.h"
#include "ui/PropertyTable.h"
#include "ui/TTimer.h"
#include "ui/TvgForm.h"
#include "ui/TvgResources.h"

namespace dbinst {
namespace {

constexpr std::string_view kBegin =
    "<!-- The vocabulary is made from the toolkit's property declarations: formc --vocabulary "
    "FILE writes it. -->";
constexpr std::string_view kEnd = "<!-- End of the vocabulary. -->";

// Names and what they take; neighbours that take the same share a row.
template <class Owner>
std::vector<std::pair<std::string, std::string>> Rows(const TPropertyTable<Owner>& table) {
  std::vector<std::pair<std::string, std::string>> rows;
  for (const TPropertyEntry<Owner>& entry : table.Entries()) {
    if (entry.name.empty()) continue;
    const std::string name = "`" + entry.name + "`";
    if (!rows.empty() && rows.back().second == entry.values) {
      rows.back().first += ", " + name;
    } else {
      rows.emplace_back(name, entry.values);
    }
  }
  return rows;
}

// One table row per property row, the owner named on the first only.
template <class Owner>
std::string OwnerRows(const std::string& owner, const TPropertyTable<Owner>& table) {
  const auto rows = Rows(table);
  if (rows.empty()) return "| " + owner + " | | none beyond those of every scene object |\n";
  std::string text;
  for (size_t i = 0; i < rows.size(); ++i) {
    text += (i == 0 ? "| " + owner + " |" : std::string("| |")) + " " + rows[i].first + " | " +
            rows[i].second + " |\n";
  }
  return text;
}

std::string SceneKindRows() {
  std::string text;
  std::vector<std::string_view> kinds = SceneKindNames();
  kinds.emplace_back("TvgResources");
  for (std::string_view kind : kinds) {
    const std::unique_ptr<TvgObject> object =
        kind == "TvgResources" ? std::make_unique<TvgResources>() : CreateSceneObject(kind);
    const TPropertyTable<TvgObject>& table = object->StoredProperties();
    const std::string owner = "`" + std::string(kind) + "`";
    // A kind without declarations of its own has its base class's table.
    text += table.Kind() == kind
                ? OwnerRows(owner, table)
                : "| " + owner + " | | none beyond those of every scene object |\n";
  }
  return text;
}

std::string CommonRows() {
  std::string text;
  const TvgObject object("TvgObject");
  for (const auto& [names, values] : Rows(object.StoredProperties())) {
    text += "| " + names + " | " + values + " |\n";
  }
  return text;
}

}  // namespace

std::string FormVocabulary() {
  return "\n\nThe window (`object FormMainDbInstall: TFormMainDbInstall`) holds the scene "
         "(`TvgScene`), style\nlibraries (`TvgResources`) and timers (`TTimer`):\n\n"
         "| owner | property | value |\n|---|---|---|\n" +
         OwnerRows("the window", TvgForm::WindowProperties()) +
         OwnerRows("`TTimer`", TTimer::StoredProperties()) +
         "\nEvery scene object:\n\n| property | value |\n|---|---|\n" + CommonRows() +
         "\nKinds and their own properties:\n\n| kind | property | value |\n|---|---|---|\n" +
         SceneKindRows() + "\n";
}

std::optional<std::string> VocabularyIn(std::string_view readme) {
  const size_t begin = readme.find(kBegin);
  const size_t end = readme.find(kEnd);
  if (begin == std::string_view::npos || end == std::string_view::npos || end < begin) {
    return std::nullopt;
  }
  const size_t from = begin + kBegin.size();
  return std::string(readme.substr(from, end - from));
}

std::optional<std::string> WithVocabulary(std::string_view readme, std::string_view vocabulary) {
  const std::optional<std::string> old = VocabularyIn(readme);
  if (!old) return std::nullopt;
  const size_t from = readme.find(kBegin) + kBegin.size();
  return std::string(readme.substr(0, from)) + std::string(vocabulary) +
         std::string(readme.substr(from + old->size()));
}

}  // namespace dbinst
