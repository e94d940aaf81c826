#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace dbinst {

class ResourceStream {
 public:
  virtual ~ResourceStream() = default;
  virtual int64_t Size() const = 0;
  // Up to size bytes; 0 at the end; -1 on an error.
  virtual int64_t Read(void* buffer, int64_t size) = 0;
  // Moves to a position counted from the start; false outside the resource.
  virtual bool Seek(int64_t offset) = 0;
};

// The raw-data (RCDATA) resources of one module; names compare without regard to case.
class ResourceModule {
 public:
  virtual ~ResourceModule() = default;
  // Nothing when the resource is absent.
  virtual std::unique_ptr<ResourceStream> Open(std::string_view name) const = 0;
};

}  // namespace dbinst
