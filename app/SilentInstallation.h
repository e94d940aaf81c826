#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/CadAppInstalled.h"

namespace dbinst {

class Machine;
class ProgressView;
class TDoDbInstallThings;
class TGeneralMod;

// An installation without questions (-s): into the /path: folder or the program the wizard would
// preselect, every database overwritten, after waiting a while for the CAD host program to end.
// Shows a small window of progress when there is a display, a line on a terminal, else nothing.
class TSilentInstallation {
 public:
  TSilentInstallation(Machine& machine, TGeneralMod& module);
  ~TSilentInstallation();

  // The exit code; the result file, when one is asked for, is written before it is given.
  int Run();

 private:
  // Everything but the result file: engine, target, the host program, the installation.
  int Prepare();
  int Install(ProgressView* view);
  bool WaitForHostToEnd();
  int Fatal(const std::string& text);
  void WriteResult(int exitCode);

  Machine& machine_;
  TGeneralMod& module_;
  std::unique_ptr<TDoDbInstallThings> engine_;
  std::optional<TCadAppInstalled> target_;
  std::string error_;
  bool attempted_ = false;
  double seconds_ = 0;
};

}  // namespace dbinst
