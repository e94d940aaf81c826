#include "platform/prefix/PosixDynamicLibraries.h"

#include <dlfcn.h>

#include <utility>

#include "platform/Text.h"

namespace dbinst {
namespace {

class PosixDynamicLibrary : public DynamicLibrary {
 public:
  explicit PosixDynamicLibrary(void* handle) : handle_(handle) {}
  ~PosixDynamicLibrary() override { ::dlclose(handle_); }
  PosixDynamicLibrary(const PosixDynamicLibrary&) = delete;
  PosixDynamicLibrary& operator=(const PosixDynamicLibrary&) = delete;

  void* Symbol(std::string_view name) const override {
    return ::dlsym(handle_, std::string(name).c_str());
  }

 private:
  void* handle_;
};

void* OpenOne(const std::string& file, std::string& errors) {
  void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* reason = ::dlerror();
    errors += "\n  " + (reason != nullptr ? std::string(reason) : file + ": not loadable");
  }
  return handle;
}

}  // namespace

std::string HostLibraryName(std::string_view name) {
  constexpr std::string_view kDll = ".dll";
  if (name.size() > kDll.size() && EqualsNoCase(name.substr(name.size() - kDll.size()), kDll)) {
    return std::string(name.substr(0, name.size() - kDll.size())) + ".so";
  }
  return std::string(name);
}

PosixDynamicLibraries::PosixDynamicLibraries(std::vector<std::string> extraFolders)
    : extraFolders_(std::move(extraFolders)) {}

std::unique_ptr<DynamicLibrary> PosixDynamicLibraries::Load(std::string_view name,
                                                            std::string& error) {
  const std::string file = HostLibraryName(name);
  std::string errors;
  void* handle = file.empty() ? nullptr : OpenOne(file, errors);
  // A name with a folder in it is a path: the folders below would only rename it.
  const bool isPath = file.find('/') != std::string::npos;
  for (size_t i = 0; handle == nullptr && !isPath && !file.empty() && i < extraFolders_.size();
       ++i) {
    handle = OpenOne(extraFolders_[i] + "/" + file, errors);
  }
  if (handle == nullptr) {
    error = "Cannot load the library \"" + std::string(name) + "\":" + errors;
    return nullptr;
  }
  return std::make_unique<PosixDynamicLibrary>(handle);
}

}  // namespace dbinst
