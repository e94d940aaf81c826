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

std::optional<std::string> ReadResourceBytes(const ResourceModule& module, std::string_view name,
                                             int64_t maxBytes) {
  const std::unique_ptr<ResourceStream> stream = module.Open(name);
  if (!stream || stream->Size() < 0 || stream->Size() > maxBytes) return std::nullopt;
  std::string bytes(static_cast<size_t>(stream->Size()), '\0');
  size_t filled = 0;
  while (filled < bytes.size()) {
    const int64_t read =
        stream->Read(bytes.data() + filled, static_cast<int64_t>(bytes.size() - filled));
    if (read <= 0) return std::nullopt;
    filled += static_cast<size_t>(read);
  }
  return bytes;
}

}  // namespace dbinst
