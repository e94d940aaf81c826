#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dbinst {

class DynamicLibraries;
class FileSystem;
class ReadableFile;

// Every archive the installer carries is given this password.
inline constexpr std::string_view kArchivePassword = "lipa_srebrnej_wierzby";

struct ArchiveItem {
  std::string path;  // as stored in the archive, UTF-8
  uint64_t size = 0;
  bool isFolder = false;
};

struct ArchiveHooks {
  // Before an item is written, with its full destination Windows path; false skips the item.
  std::function<bool(uint32_t index, const std::string& destinationPath)> beforeItem;
  std::function<void(uint64_t bytesDone, uint64_t bytesTotal)> progress;
  // Asked between items and progress reports; true stops the library, which then waits for its
  // own threads before the extraction returns.
  std::function<bool()> cancelled;
};

// Why an archive could not be read or extracted, first cause first.
enum class EArchiveFailure {
  None,
  Cancelled,
  WrongPassword,
  Damaged,
  // A file that could not be created or written: a full disk or a write-protected folder.
  WriteFailed,
  // An item whose path would leave the destination folder.
  Refused,
};

// A 7z archive read through the 7-Zip library, over a file the reader does not own.
class SevenZipReader {
 public:
  // Null, with the reason in error, when the library cannot be loaded or makes no 7z handler.
  static std::unique_ptr<SevenZipReader> Create(DynamicLibraries& libraries, ReadableFile& file,
                                                std::string& error);
  ~SevenZipReader();

  void SetPassword(std::string_view password);
  // Opens the archive and reads its item list; false, with the reason in error, when the file is
  // not a readable 7z archive (truncated, damaged, headers under another password).
  bool List(std::string& error);
  const std::vector<ArchiveItem>& Items() const;

  // Writes every item below the folder, creating sub-folders. False, with the reasons in error,
  // when the library failed or any item failed, could not be written or would leave the folder.
  bool ExtractAll(FileSystem& files, std::string_view destinationFolder, const ArchiveHooks& hooks,
                  std::string& error);
  // The cause of the last failed List or ExtractAll.
  EArchiveFailure Failure() const;

 private:
  struct State;
  explicit SevenZipReader(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace dbinst
