#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dbinst {

// One local drive that may receive databases.
struct TLogicalDriveFound {
  std::string letter;      // upper case, alone: "C"
  int64_t freeBytes = -1;  // -1 when the platform gave no answer
  int64_t size = 0;
};

using TLogicalDriveFoundVec = std::vector<TLogicalDriveFound>;

}  // namespace dbinst
