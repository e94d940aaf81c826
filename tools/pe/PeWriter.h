#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace dbinst {

struct VersionTranslation {
  uint16_t language = 0x0409;
  uint16_t codePage = 1200;
};

// One StringFileInfo table; its key is written exactly as given ("040904b0", "041504E2").
struct VersionStringTable {
  std::string key;
  std::vector<std::pair<std::string, std::string>> items;  // name, text
};

struct VersionResource {
  std::array<uint16_t, 4> fileVersion{};
  std::array<uint16_t, 4> productVersion{};
  std::vector<VersionTranslation> translations;
  std::vector<VersionStringTable> stringTables;
  uint16_t resourceLanguage = 0x0409;  // the language entry of the resource directory
};

// A version resource as a typical program carries it: one translation, one table named after it,
// FileVersion and ProductVersion set to versionText, which may differ from the fixed numbers.
VersionResource MakeVersionResource(std::array<uint16_t, 4> fileVersion,
                                    const std::string& versionText, uint16_t language = 0x0415,
                                    uint16_t codePage = 1250);

struct PeImage {
  bool isDll = false;
  std::optional<VersionResource> version;  // none: a file without any resource section
};

// The VS_VERSIONINFO block alone, as it sits in the resource section.
std::vector<uint8_t> BuildVersionBlock(const VersionResource& version, bool isDll);

// A complete i386 PE32 file: a code section whose entry point returns success, and a .rsrc section
// when the image has a version.
std::vector<uint8_t> BuildPeFile(const PeImage& image);

// Writes BuildPeFile's bytes to a host path; false, with the reason in error, when that fails.
bool WritePeFile(const std::string& hostPath, const PeImage& image, std::string& error);

}  // namespace dbinst
