#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dbinst {

// The version text the shell operations show for a file: the "FileVersion" item of the string
// table named by the first translation, at most 254 characters, trimmed; empty when unreadable.
std::string FileVersionTextOf(const std::vector<uint8_t>& versionBlock);

}  // namespace dbinst
