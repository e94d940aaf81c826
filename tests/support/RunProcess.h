#pragma once

#include <string>
#include <utility>
#include <vector>

namespace dbinst::test {

struct ProcessResult {
  int exitCode = -1;  // -1 when the process did not end normally
  std::string out;
  std::string err;
};

// Runs a program to its end with exactly these arguments and extra environment variables
// ("NAME=value"), collecting what it writes.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment);

}  // namespace dbinst::test
