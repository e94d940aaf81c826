#include "env/WindowsVersion.h"

#include "platform/SystemInfo.h"

namespace dbinst {
namespace {

int32_t NtVersionCode(uint32_t major, uint32_t minor) {
  if (major <= 4) return 4;
  if (major == 5 && minor == 0) return 6;
  if (major == 5 && minor == 1) return 7;
  if (major == 6 && minor == 0) return 8;
  if (major == 6 && minor == 1) return 9;
  return 0;
}

int32_t Win9xVersionCode(const OsVersion& version) {
  if (version.major != 4) return 0;
  if (version.minor == 0) return 1;
  if (version.minor == 10) {
    const bool secondEdition = version.servicePack.size() >= 2 && version.servicePack[1] == 'A';
    return secondEdition ? 3 : 2;
  }
  if (version.minor == 90) return 5;
  return 0;
}

}  // namespace

int32_t WindowsVersionCode(const OsVersion& version) {
  if (version.platformId == kPlatformIdNT) return NtVersionCode(version.major, version.minor);
  if (version.platformId == kPlatformId9x) return Win9xVersionCode(version);
  return 0;
}

}  // namespace dbinst
