#pragma once

#include <string>
#include <vector>

#include "env/Enums.h"

namespace dbinst {

// One installed program of the family.
struct TCadAppInstalled {
  EProductLine ProductLine = EProductLine::None;
  std::string Folder;  // ends with a backslash when the discovery filled it

  bool operator==(const TCadAppInstalled&) const = default;
};

using TCadAppInstalledVec = std::vector<TCadAppInstalled>;

}  // namespace dbinst
