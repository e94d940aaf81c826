#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/FileVersion.h"

namespace dbinst {

// Reads the version resource straight out of a PE file (PE32 or PE32+), as the system's version
// functions do, without loading the file.
class PeFileVersionReader : public FileVersionReader {
 public:
  explicit PeFileVersionReader(const FileSystem& fileSystem);

  std::optional<std::vector<uint8_t>> GetFileVersionInfo(std::string_view path) const override;

  // The first RT_VERSION resource of the file; nothing when the file is no PE file, has no such
  // resource, or any offset or size in the way points outside the file.
  static std::optional<std::vector<uint8_t>> ReadVersionBlock(ReadableFile& file);

 private:
  const FileSystem& fileSystem_;
};

}  // namespace dbinst
