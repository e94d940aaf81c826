#pragma once

#include "platform/Processes.h"

namespace dbinst {

// The processes in /proc. A Windows program under Wine shows its Windows path as argv[0].
class PrefixProcesses : public Processes {
 public:
  std::vector<ProcessEntry> Enumerate() const override;
};

// The names a process may be known by, from its argv[0], its kernel name and its executable link.
std::vector<std::string> ExecutableNamesOf(const std::string& argv0, const std::string& comm,
                                           const std::string& exeLink);

}  // namespace dbinst
