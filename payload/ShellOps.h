#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dbinst {

class Machine;

struct TFileVersionNumbers {
  std::string text;
  int32_t major = -1;
  int32_t minor = -1;
};

// The shell's folders, file versions and the running-process test.
class ShellOps {
 public:
  explicit ShellOps(Machine& machine);

  std::string FileVersionText(std::string_view path) const;
  TFileVersionNumbers FileVersionNumbers(std::string_view path) const;
  bool IsProcessRunning(std::string_view executableName) const;

  // Major and minor of a version text such as "6.2.0.15"; -1 for each that cannot be read.
  static TFileVersionNumbers VersionNumbersOfText(std::string_view text);

  std::string WindowsFolder;  // without trailing backslash
  std::string SystemFolder;   // without trailing backslash
  std::string TempFolder;     // with trailing backslash; empty when it cannot be had

 private:
  void FindFolders();

  Machine& machine_;
};

}  // namespace dbinst
