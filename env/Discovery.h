#pragma once

#include <string>

#include "env/ProductLines.h"

namespace dbinst {

class FileSystem;
class Registry;

// Folders of earlier versions of lines 1, 2 and 4, from the user's registry.
TProductToFolderMap FindPreviousInstallations(const Registry& registry);

// Folders registered under INSTALLATIONS, the machine's before the user's; a folder is recorded
// for one line only.
void FindCurrentInstallations(const Registry& registry, const TProductToStringMap& codes,
                              TProductToFolderMap& current);

// The "runfrom" folders of the programs' keys; a line without a current installation takes its
// folder unless another line already has it.
void ReadProgramKeys(const Registry& registry, TProductToFolderMap& current,
                     TProductToFolderMap& runFrom);

// The family's main folder "X:\Velmora\" when the registry names an existing one; else empty.
std::string FindFamilyMainFolder(const Registry& registry, const FileSystem& files);

}  // namespace dbinst
