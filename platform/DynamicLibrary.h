#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace dbinst {

// A library loaded into the process; it stays loaded while this object lives.
class DynamicLibrary {
 public:
  virtual ~DynamicLibrary() = default;
  // The address of an exported name; null when the library does not export it.
  virtual void* Symbol(std::string_view name) const = 0;
};

// The platform's library loader, reached by a Windows library name such as "7z.dll".
class DynamicLibraries {
 public:
  virtual ~DynamicLibraries() = default;
  // Nothing, with the reason in error, when no library of that name can be loaded.
  virtual std::unique_ptr<DynamicLibrary> Load(std::string_view name, std::string& error) = 0;
};

}  // namespace dbinst
