#include "payload/ResourceFile.h"

namespace dbinst {

int64_t GetResourceSize(const ResourceModule& module, std::string_view name) {
  const std::unique_ptr<ResourceStream> stream = module.Open(name);
  if (!stream) return kResourceAbsent;
  return stream->Size();
}

bool ResourceExists(const ResourceModule& module, std::string_view name) {
  return GetResourceSize(module, name) > 0;
}

std::unique_ptr<ResourceStream> OpenResource(const ResourceModule& module, std::string_view name) {
  return module.Open(name);
}

}  // namespace dbinst
