#include "engine/InstallJournal.h"

#include <vector>

#include "platform/FileSystem.h"

namespace dbinst {
namespace {

constexpr std::string_view kFirstLine = "database installation journal 1";
// The last line: a journal without it was cut short.
constexpr std::string_view kLastLine = "end";
// Larger journals are no journal of ours; the limit keeps a damaged file from filling memory.
constexpr int64_t kLargestJournal = 64 << 20;

const char* PhaseName(ETransactionPhase phase) {
  switch (phase) {
    case ETransactionPhase::Extracting:
      return "extracting";
    case ETransactionPhase::Swapping:
      return "swapping";
    case ETransactionPhase::Committed:
      return "committed";
  }
  return "";
}

std::optional<ETransactionPhase> PhaseOfName(std::string_view name) {
  for (ETransactionPhase phase :
       {ETransactionPhase::Extracting, ETransactionPhase::Swapping, ETransactionPhase::Committed}) {
    if (name == PhaseName(phase)) return phase;
  }
  return std::nullopt;
}

std::vector<std::string_view> LinesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

bool ReadAll(ReadableFile& file, std::string& text) {
  if (file.Size() < 0 || file.Size() > kLargestJournal) return false;
  text.resize(static_cast<size_t>(file.Size()));
  int64_t done = 0;
  while (done < file.Size()) {
    const int64_t read = file.Read(text.data() + done, file.Size() - done);
    if (read <= 0) return false;
    done += read;
  }
  return true;
}

}  // namespace

std::string JournalText(const TInstallJournal& journal) {
  std::string text = std::string(kFirstLine) + "\n";
  text += "database " + journal.Database + "\n";
  text += "install " + journal.InstallFolder + "\n";
  text += std::string("phase ") + PhaseName(journal.Phase) + "\n";
  for (const std::string& folder : journal.CreatedFolders) text += "folder " + folder + "\n";
  for (const std::string& file : journal.Files) text += "file " + file + "\n";
  return text + std::string(kLastLine) + "\n";
}

std::optional<TInstallJournal> ParseJournal(std::string_view text) {
  const std::vector<std::string_view> lines = LinesOf(text);
  if (lines.size() < 5 || lines.front() != kFirstLine || lines.back() != kLastLine) {
    return std::nullopt;
  }
  TInstallJournal journal;
  bool haveFolder = false;
  bool havePhase = false;
  for (size_t i = 1; i + 1 < lines.size(); ++i) {
    const std::string_view line = lines[i];
    const size_t space = line.find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    const std::string_view tag = line.substr(0, space);
    const std::string value(line.substr(space + 1));
    if (tag == "database") {
      journal.Database = value;
    } else if (tag == "install") {
      journal.InstallFolder = value;
      haveFolder = !value.empty();
    } else if (tag == "phase") {
      const auto phase = PhaseOfName(value);
      if (!phase) return std::nullopt;
      journal.Phase = *phase;
      havePhase = true;
    } else if (tag == "folder") {
      journal.CreatedFolders.push_back(value);
    } else if (tag == "file") {
      journal.Files.push_back(value);
    } else {
      return std::nullopt;
    }
  }
  if (!haveFolder || !havePhase) return std::nullopt;
  return journal;
}

bool WriteJournal(FileSystem& files, std::string_view path, const TInstallJournal& journal) {
  const std::string fresh = std::string(path) + ".new";
  const std::string text = JournalText(journal);
  auto file = files.CreateForWrite(fresh);
  if (!file) return false;
  const bool written = file->Write(text.data(), static_cast<int64_t>(text.size())) ==
                           static_cast<int64_t>(text.size()) &&
                       file->Sync();
  if (!file->Close() || !written) {
    files.DeleteFile(fresh);
    return false;
  }
  return files.MoveFile(fresh, path, true);
}

std::optional<TInstallJournal> ReadJournal(const FileSystem& files, std::string_view path,
                                           bool& damaged) {
  damaged = false;
  if (!files.FileExists(path)) return std::nullopt;
  auto file = files.OpenForRead(path);
  std::string text;
  std::optional<TInstallJournal> journal;
  if (file && ReadAll(*file, text)) journal = ParseJournal(text);
  damaged = !journal.has_value();
  return journal;
}

}  // namespace dbinst
