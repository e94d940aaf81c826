#pragma once

#include <cstdint>
#include <string>

namespace dbinst {

// A file a program folder must hold, with the lowest version it may carry.
struct TProgramFileForCheckup {
  std::string fileName;
  int32_t minMajor = 0;
  int32_t minMinor = 0;
};

}  // namespace dbinst
