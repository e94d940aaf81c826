#pragma once

#include <string>

namespace dbinst {

// The file that marks a folder as a demo prefix this tool made, and may therefore replace.
inline constexpr char kDemoPrefixMarker[] = ".dbinst-demo-prefix";

struct DemoPrefixOptions {
  std::string hostFolder;
  std::string userName = "user";
  bool polish = false;
};

// Builds a demo prefix with Orvane 2 and Kestrio 6 registered for the machine and Orvane Selka for
// the user. A folder that exists must be empty or a demo prefix made here, which is rebuilt fresh;
// any other folder is left alone and false is returned with the reason in error.
bool MakeDemoPrefix(const DemoPrefixOptions& options, std::string& error);

}  // namespace dbinst
