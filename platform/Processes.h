#pragma once

#include <string>
#include <vector>

namespace dbinst {

// One running process, with the executable names under which it may be known: the file name of
// its module (argv[0] as a Windows or POSIX path, or the image) and the name the kernel gives it.
struct ProcessEntry {
  int pid = 0;
  std::vector<std::string> executableNames;
};

class Processes {
 public:
  virtual ~Processes() = default;
  // Every process the caller may examine, whatever their number.
  virtual std::vector<ProcessEntry> Enumerate() const = 0;
};

}  // namespace dbinst
