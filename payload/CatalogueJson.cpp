#include "payload/CatalogueJson.h"

#include <cstdio>

#include "payload/ResourceFile.h"
#include "platform/JsonWriter.h"

namespace dbinst {

std::string DateJsonText(const TDatabaseDate& date) {
  if (date.IsEmpty()) return {};
  char text[40];
  if (date.Month == 0 && date.Day == 0) {
    std::snprintf(text, sizeof text, "%d", date.Year);
  } else {
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.Year, date.Month, date.Day);
  }
  return text;
}

void WriteCatalogueJson(JsonWriter& json, const TDatabaseEmbeddedVecAfterTypeMap& catalogue,
                        const ResourceModule& resources) {
  json.BeginArray();
  for (const auto& [kind, databases] : catalogue) {
    for (const TDatabaseEmbedded& database : databases) {
      json.BeginObject();
      json.Key("kind").String(TextOfDatabaseType(database.Type));
      json.Key("name").String(database.Name);
      json.Key("targetName").String(database.TargetName);
      json.Key("date").String(DateJsonText(database.MDate));
      json.Key("updated").String(DateJsonText(database.UDate));
      json.Key("archiveBytes").Integer(GetResourceSize(resources, database.ArchiveResource));
      json.Key("targetBytes").Integer(database.TargetSize);
      json.EndObject();
    }
  }
  json.EndArray();
}

}  // namespace dbinst
