#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "app/TextOfKey.h"
#include "engine/CadAppInstalled.h"
#include "payload/LogicalDrive.h"

namespace dbinst {

class FileSystem;
class TDoDbInstallThings;
struct NumberFormat;

using TLocalDriveMap = std::map<std::string, TLogicalDriveFound>;

// The product name of the line (key 1 for an unknown line), then, except for the professional
// lines, a space and the version text of its executable (empty when it cannot be read).
std::string ProgramDisplayName(const TCadAppInstalled& program, const TDoDbInstallThings& engine,
                               const TextOfKey& text);

// Where the folder browser opens: the path text's deepest existing folder, or empty.
std::string BrowseStartFolder(std::string_view pathText, const FileSystem& files);

// A folder the installation may go to: absolute ("X:\...") on one of the local drives.
bool IsOnLocalDrive(std::string_view folder, const TLocalDriveMap& drives);

// The first product line, 1 to 6, whose program the folder holds (with the newer versions when
// the installer carries the newer format); line 0 when none does.
TCadAppInstalled RecogniseProgramFolder(std::string_view folder, const TDoDbInstallThings& engine);

// "Ilość wolnej przestrzeni na dysku C: 1 536 MB" for the drive of the folder.
std::string DiskSpaceText(std::string_view folder, int64_t freeBytes, const NumberFormat& format,
                          const TextOfKey& text);

}  // namespace dbinst
