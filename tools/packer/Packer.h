#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace dbinst {

// The code page the family's publisher writes descriptions in.
inline constexpr uint32_t kPublisherCodePage = 1250;
inline constexpr uint32_t kUtf8CodePage = 65001;

struct PackagePaths {
  std::string ini;
  std::string archive;
  // The code page the description is written in; a UTF-8 byte-order mark overrides it.
  uint32_t codePage = kPublisherCodePage;
};

// A package ready to be embedded: its description as it will be carried, and its archive.
struct CheckedPackage {
  std::string iniBytes;
  std::string archive;
  int64_t unpackedSize = 0;
  uint32_t codePage = kPublisherCodePage;
};

struct PackRequest {
  std::string installer;  // the built executable
  std::string output;
  // Replace every carried package when given; the installer's own packages stay otherwise.
  std::vector<PackagePaths> packages;
  // NAME and file: LIB7Z, LIBB1 or any other resource, replaced by name.
  std::vector<std::pair<std::string, std::string>> resources;
};

// Checks one package as the installer will read it; false with the refusal in error.
bool CheckPackage(const PackagePaths& package, CheckedPackage& checked, std::string& error);
// The total unpacked size of the archive's items, listed with the installer's password; -1 with
// the reason in error when it does not open.
int64_t ArchiveUnpackedSize(const std::string& archive, std::string& error);
// Writes the output installer; false with the reason in error, leaving no output behind.
bool PackInstaller(const PackRequest& request, std::string& error);
// The databases a packed installer carries, as the installer's own /list gives them: one JSON
// document; false with the reason when the file is no installer.
bool ListInstaller(const std::string& installer, std::string& json, std::string& error);

}  // namespace dbinst
