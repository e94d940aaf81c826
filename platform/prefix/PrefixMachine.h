#pragma once

#include <memory>
#include <string>

#include "platform/Machine.h"

namespace dbinst {

struct PrefixOptions {
  std::string prefixPath;      // host folder of the Wine prefix
  std::string executablePath;  // host path of the running installer; its resources live there
};

// WINEPREFIX when set and not empty, else ~/.wine.
std::string DefaultPrefixPath();

// The host path of the running program's file.
std::string RunningExecutablePath();

// Nothing, with the reason in error, when the folder is not a Wine prefix.
std::unique_ptr<Machine> OpenPrefixMachine(const PrefixOptions& options, std::string& error);

}  // namespace dbinst
