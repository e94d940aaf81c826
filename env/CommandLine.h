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

inline constexpr int32_t kDefaultHostWaitSeconds = 60;
// Longer waits are no administrator's intent; a day is the limit.
inline constexpr int32_t kLongestHostWaitSeconds = 24 * 60 * 60;

struct CommandLineFields {
  EProgramMode programMode = EProgramMode::DatabaseInstaller;
  std::string updatePath;
  EProductLine updateProduct = EProductLine::None;
  std::string uninstallLanguageCode;
  bool silent = false;
  // The switches of a run without a person: where its log and result go, whether it only lists
  // what it would do, and how long it waits for the CAD host program to end.
  std::string logFile;
  std::string resultFile;
  bool listOnly = false;
  int32_t hostWaitSeconds = kDefaultHostWaitSeconds;
};

// Logs every argument as "Parameter N: ..." and reads the switches it knows.
CommandLineFields ReadCommandLine(const std::vector<std::string>& arguments,
                                  const TStringToProductMap& codes, InstallLog& log);

// Whether the arguments ask only for the list of what would be installed (/list), read before the
// machine is opened so that such a run can open it read-only.
bool AsksOnlyForList(const std::vector<std::string>& arguments);

// "Standard", "Update", "Uninstall" or "Unknown".
std::string ProgramModeText(EProgramMode mode);

}  // namespace dbinst
