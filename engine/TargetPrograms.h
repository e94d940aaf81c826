#pragma once

#include <string>
#include <string_view>

#include "engine/CadAppInstalled.h"
#include "env/Enums.h"
#include "payload/DatabaseEmbedded.h"

namespace dbinst {

class MyFileOp;
class TGeneralMod;

// The discovery's lists; TargetApps is its result, in offering order.
struct TTargetProgramLists {
  TCadAppInstalledVec Group1Apps;
  TCadAppInstalledVec Group2Apps;
  TCadAppInstalledVec Group3Apps;
  TCadAppInstalledVec Group1OldApps;
  TCadAppInstalledVec Group2OldApps;
  TCadAppInstalledVec TargetApps;
};

struct TProgramFolderCheck {
  bool FilesPresent = false;
  bool VersionsMet = false;
};

// False when the folder does not exist or is empty; otherwise the state of the line's files.
bool CheckProgramFolder(const MyFileOp& fileOp, const TGeneralMod& module, std::string_view folder,
                        EProductLine line, TProgramFolderCheck& check);
// "major.minor" of the line's main executable in the folder; false, text untouched, without one.
bool ProgramVersionText(const MyFileOp& fileOp, const TGeneralMod& module, std::string_view folder,
                        EProductLine line, std::string& text);
// Fills the lists from the installed programs the shared module found.
void FindTargetPrograms(const MyFileOp& fileOp, const TGeneralMod& module,
                        const TDatabaseEmbeddedVecAfterTypeMap& catalogue,
                        TTargetProgramLists& lists);

}  // namespace dbinst
