#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "env/ProductLines.h"

namespace dbinst {

class InstallLog;

// Program modes of the family's installers; this program runs as the database installer.
enum class EProgramMode : int32_t {
  Standard = 0,
  Update = 1,
  Uninstall = 2,
  NoTranslation = 3,
  DatabaseInstaller = 4,
};

struct CommandLineFields {
  EProgramMode programMode = EProgramMode::DatabaseInstaller;
  std::string updatePath;
  EProductLine updateProduct = EProductLine::None;
  std::string uninstallLanguageCode;
  bool silent = false;
};

// Logs every argument as "Parameter N: ..." and reads the switches it knows.
CommandLineFields ReadCommandLine(const std::vector<std::string>& arguments,
                                  const TStringToProductMap& codes, InstallLog& log);

// "Standard", "Update", "Uninstall" or "Unknown".
std::string ProgramModeText(EProgramMode mode);

}  // namespace dbinst
