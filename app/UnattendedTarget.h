#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/TargetChoice.h"
#include "engine/CadAppInstalled.h"

namespace dbinst {

class FileSystem;
class TDoDbInstallThings;

// The program a run without a person installs into: the /path: folder when one is given and a
// person could have chosen it by hand (absolute, on a local drive; a program of the family there
// is taken as that program), else the program the wizard preselects. Nothing, with the reason,
// when there is neither.
std::optional<TCadAppInstalled> UnattendedTarget(std::string_view pathSwitch,
                                                 const TDoDbInstallThings& engine,
                                                 const TLocalDriveMap& drives,
                                                 std::string& problem);

// The fixed drives, told without writing to them (a look that changes nothing).
TLocalDriveMap FixedDrivesOf(const FileSystem& files);

}  // namespace dbinst
