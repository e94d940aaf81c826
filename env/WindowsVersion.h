#pragma once

#include <cstdint>

namespace dbinst {

struct OsVersion;

inline constexpr uint32_t kPlatformId9x = 1;
inline constexpr uint32_t kPlatformIdNT = 2;

// The family's code of a Windows version; 0 for a version it does not know.
int32_t WindowsVersionCode(const OsVersion& version);

}  // namespace dbinst
