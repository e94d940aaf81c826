#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dbinst {

// Why a database was not installed, as the final page names it in a word.
enum class EInstallFailure {
  None,
  NoSpace,
  WriteProtected,
  DamagedArchive,
  WrongPassword,
  // Another installer works in the same program folder.
  InUse,
  Cancelled,
};

struct TDatabaseOutcome {
  std::string Name;  // the display name
  EInstallFailure Failure = EInstallFailure::None;
  std::string Detail;  // for the log
  // The bytes of the files put in place; 0 for a database that was not installed.
  int64_t Bytes = 0;
  // Not tried: the installation stopped at an earlier database.
  bool Skipped = false;
};

// A drive without room for what the installation would write there.
struct TSpaceShortage {
  std::string Drive;  // "C:"
  int64_t Needed = 0;
  int64_t Free = 0;
};

using TSpaceShortageVec = std::vector<TSpaceShortage>;

}  // namespace dbinst
