#include "app/UnattendedTarget.h"

#include "engine/DoDbInstallThings.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace dbinst {

std::optional<TCadAppInstalled> UnattendedTarget(std::string_view pathSwitch,
                                                 const TDoDbInstallThings& engine,
                                                 const TLocalDriveMap& drives,
                                                 std::string& problem) {
  if (!pathSwitch.empty()) {
    const std::string folder = WithTrailingBackslash(pathSwitch);
    if (!IsOnLocalDrive(folder, drives)) {
      problem = "the folder " + folder + " of /path: is no absolute folder on a local drive";
      return std::nullopt;
    }
    const TCadAppInstalled program = RecogniseProgramFolder(folder, engine);
    if (program.ProductLine != EProductLine::None) return program;
    return TCadAppInstalled{EProductLine::None, folder};
  }
  const TCadAppInstalledVec programs = engine.TargetPrograms();
  if (programs.empty()) {
    problem = "no program of the family takes these databases, and no /path: names a folder";
    return std::nullopt;
  }
  return programs.front();
}

TLocalDriveMap FixedDrivesOf(const FileSystem& files) {
  TLocalDriveMap drives;
  for (const std::string& letter : files.DriveLetters()) {
    if (letter < "C" || files.GetDriveType(letter + ":\\") != kDriveFixed) continue;
    drives[ToUpper(letter)] = {letter, 0, 0};
  }
  return drives;
}

}  // namespace dbinst
