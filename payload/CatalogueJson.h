#pragma once

#include "payload/DatabaseEmbedded.h"

namespace dbinst {

class JsonWriter;
class ResourceModule;

// The databases an installer carries, as a JSON array in catalogue order: kind, name, target
// name, dates, the archive's size in the installer and the size the description gives unpacked.
void WriteCatalogueJson(JsonWriter& json, const TDatabaseEmbeddedVecAfterTypeMap& catalogue,
                        const ResourceModule& resources);

// "2026-03-01", "2013" for a year alone, empty for no date.
std::string DateJsonText(const TDatabaseDate& date);

}  // namespace dbinst
