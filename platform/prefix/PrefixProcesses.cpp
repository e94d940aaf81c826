#include "platform/prefix/PrefixProcesses.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

namespace dbinst {
namespace fs = std::filesystem;
namespace {

std::optional<std::string> ReadWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return text;
}

std::string FileNamePart(const std::string& path) {
  const size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::optional<int> PidOf(const std::string& name) {
  if (name.empty() || name.size() > 9 ||
      !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  return std::stoi(name);
}

std::optional<ProcessEntry> ReadProcess(int pid, const fs::path& folder) {
  const auto comm = ReadWholeFile(folder / "comm");
  const auto cmdline = ReadWholeFile(folder / "cmdline");
  // A process that ended between the listing and now has lost its files.
  if (!comm || !cmdline) return std::nullopt;
  std::string kernelName = *comm;
  if (!kernelName.empty() && kernelName.back() == '\n') kernelName.pop_back();
  const std::string argv0 = cmdline->substr(0, cmdline->find('\0'));
  std::string exeLink;
  if (argv0.empty()) {
    std::error_code ec;
    exeLink = fs::read_symlink(folder / "exe", ec).string();
    constexpr std::string_view kDeleted = " (deleted)";
    if (exeLink.ends_with(kDeleted)) exeLink.resize(exeLink.size() - kDeleted.size());
  }
  return ProcessEntry{pid, ExecutableNamesOf(argv0, kernelName, exeLink)};
}

}  // namespace

std::vector<std::string> ExecutableNamesOf(const std::string& argv0, const std::string& comm,
                                           const std::string& exeLink) {
  std::vector<std::string> names;
  const auto add = [&names](const std::string& name) {
    if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) {
      names.push_back(name);
    }
  };
  add(FileNamePart(argv0.empty() ? exeLink : argv0));
  add(comm);
  return names;
}

std::vector<ProcessEntry> PrefixProcesses::Enumerate() const {
  std::vector<ProcessEntry> processes;
  std::error_code ec;
  for (fs::directory_iterator it("/proc", ec), end; !ec && it != end; it.increment(ec)) {
    const auto pid = PidOf(it->path().filename().string());
    if (!pid) continue;
    if (auto entry = ReadProcess(*pid, it->path())) processes.push_back(std::move(*entry));
  }
  return processes;
}

}  // namespace dbinst
