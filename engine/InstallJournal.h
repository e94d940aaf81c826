#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dbinst {

class FileSystem;

// How far one database's installation has gone.
enum class ETransactionPhase {
  // Unpacking into the staging folder: nothing outside it is touched yet.
  Extracting,
  // Moving files into place, the old ones into the backup folder.
  Swapping,
  // Every new file is in place; only the backups are left to drop.
  Committed,
};

// What an interrupted installation needs to be undone or finished: written before each phase.
struct TInstallJournal {
  std::string Database;       // the display name, for the log
  std::string InstallFolder;  // with a trailing backslash
  ETransactionPhase Phase = ETransactionPhase::Extracting;
  // Folders the swap makes, parents first.
  std::vector<std::string> CreatedFolders;
  // The files the swap moves, relative to the install folder.
  std::vector<std::string> Files;

  bool operator==(const TInstallJournal&) const = default;
};

std::string JournalText(const TInstallJournal& journal);
// Nothing when the text is not a whole journal.
std::optional<TInstallJournal> ParseJournal(std::string_view text);

// Writes a new file, waits until it is on the disk, then renames it over the journal, so that a
// crash at any moment leaves either the old journal or the new one.
bool WriteJournal(FileSystem& files, std::string_view path, const TInstallJournal& journal);
// Nothing when there is no journal; a damaged one reads as nothing too, and damaged is set.
std::optional<TInstallJournal> ReadJournal(const FileSystem& files, std::string_view path,
                                           bool& damaged);

}  // namespace dbinst
