#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Resources.h"

namespace dbinst {

inline constexpr int64_t kResourceAbsent = -2;

// The size of a raw-data resource: kResourceAbsent when it cannot be opened, 0 when empty.
int64_t GetResourceSize(const ResourceModule& module, std::string_view name);
bool ResourceExists(const ResourceModule& module, std::string_view name);
// Null when the resource is absent.
std::unique_ptr<ResourceStream> OpenResource(const ResourceModule& module, std::string_view name);
// The whole resource, for the small ones (layouts); nothing when it is absent, unreadable or
// larger than maxBytes.
std::optional<std::string> ReadResourceBytes(const ResourceModule& module, std::string_view name,
                                             int64_t maxBytes = 64 << 20);

}  // namespace dbinst
