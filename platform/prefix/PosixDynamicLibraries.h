#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DynamicLibrary.h"

namespace dbinst {

// Folders tried after the dynamic loader's own search: where Debian's 7-Zip packages keep 7z.so.
inline const std::vector<std::string>& SevenZipLibraryFolders() {
  static const std::vector<std::string> folders = {"/usr/lib/p7zip", "/usr/lib/7zip"};
  return folders;
}

// The host file name for a Windows library name: "7z.dll" is "7z.so".
std::string HostLibraryName(std::string_view name);

// dlopen with the loader's search, then each of the extra folders.
class PosixDynamicLibraries : public DynamicLibraries {
 public:
  explicit PosixDynamicLibraries(std::vector<std::string> extraFolders = SevenZipLibraryFolders());

  std::unique_ptr<DynamicLibrary> Load(std::string_view name, std::string& error) override;

 private:
  std::vector<std::string> extraFolders_;
};

}  // namespace dbinst
