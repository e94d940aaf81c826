#pragma once

#include <string>
#include <vector>

namespace dbinst {

struct ToolRun {
  int exitCode = -1;   // -1 when the program could not run or did not end normally
  std::string output;  // standard output and standard error together
};

// Runs a program found on PATH with exactly these arguments (no shell) and collects its output.
ToolRun RunTool(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace dbinst
