#include "platform/prefix/PrefixFileSystem.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/RegistryValue.h"
#include "platform/Text.h"
#include "platform/prefix/HostFiles.h"
#include "platform/prefix/WildcardMatch.h"

namespace dbinst {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kUnixPrefix = "\\\\?\\unix";
constexpr std::string_view kLongPathPrefix = "\\\\?\\";
constexpr std::string_view kWineDrivesKey = "Software\\Wine\\Drives";

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Splits on both separators and applies "." and ".." without ever climbing above the root.
std::vector<std::string> NormalComponents(std::string_view path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    const std::string_view part = path.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.emplace_back(part);
    }
    start = end + 1;
  }
  return parts;
}

std::string JoinHost(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

bool EntryExists(const std::string& hostPath) {
  struct stat st {};
  return ::lstat(hostPath.c_str(), &st) == 0;
}

std::optional<struct stat> StatOf(const std::string& hostPath) {
  struct stat st {};
  if (hostPath.empty() || ::stat(hostPath.c_str(), &st) != 0) return std::nullopt;
  return st;
}

// The name in the folder that equals name without regard to case; name itself when none does.
std::string MatchComponent(const std::string& folder, const std::string& name) {
  if (EntryExists(JoinHost(folder, name))) return name;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string candidate = it->path().filename().string();
    if (EqualsNoCase(candidate, name)) return candidate;
  }
  return name;
}

std::optional<char> DriveLetterOf(std::string_view path) {
  if (path.size() < 2 || path[1] != ':') return std::nullopt;
  const char letter = static_cast<char>(path[0] | 0x20);
  if (letter < 'a' || letter > 'z') return std::nullopt;
  return letter;
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string CanonicalOrNormal(const fs::path& path) {
  std::error_code ec;
  fs::path canonical = fs::weakly_canonical(path, ec);
  return WithoutTrailingSlash(ec ? path.lexically_normal().string() : canonical.string());
}

bool FolderHolds(const std::string& folder, const std::string& path) {
  if (folder == "/") return true;
  return path == folder || (path.starts_with(folder) && path[folder.size()] == '/');
}

std::string SlashesToBackslashes(std::string text) {
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

// Removes a file, a link (never followed) or a folder with everything below it.
bool RemoveTree(const std::string& hostPath) {
  std::error_code ec;
  fs::remove_all(hostPath, ec);
  return !ec && !EntryExists(hostPath);
}

std::optional<uint32_t> DriveTypeOfWineName(std::string_view name) {
  if (EqualsNoCase(name, "hd")) return kDriveFixed;
  if (EqualsNoCase(name, "floppy")) return kDriveRemovable;
  if (EqualsNoCase(name, "cdrom")) return kDriveCdrom;
  if (EqualsNoCase(name, "network")) return kDriveRemote;
  if (EqualsNoCase(name, "ramdisk")) return kDriveRamdisk;
  return std::nullopt;
}

// Splits "C:\a\b*" into "C:\a\" and "b*"; the folder part keeps its drive even without separator.
std::pair<std::string_view, std::string_view> SplitLastComponent(std::string_view path) {
  size_t cut = path.find_last_of("\\/");
  if (cut == path.npos) cut = DriveLetterOf(path) ? 1 : path.npos;
  if (cut == path.npos) return {std::string_view{}, path};
  return {path.substr(0, cut + 1), path.substr(cut + 1)};
}

}  // namespace

PrefixFileSystem::PrefixFileSystem(std::string prefixHostPath, const Registry& registry)
    : registry_(registry) {
  std::error_code ec;
  fs::path absolute = fs::absolute(prefixHostPath, ec);
  prefix_ =
      WithoutTrailingSlash((ec ? fs::path(prefixHostPath) : absolute).lexically_normal().string());
}

std::string PrefixFileSystem::DriveTarget(char letter) const {
  const fs::path link = fs::path(prefix_) / "dosdevices" / (std::string(1, letter) + ":");
  std::error_code ec;
  fs::path target = fs::read_symlink(link, ec);
  if (ec) {
    target = link;  // a plain folder in dosdevices serves as well
  } else if (target.is_relative()) {
    target = link.parent_path() / target;
  }
  if (!fs::is_directory(target, ec)) return {};
  return WithoutTrailingSlash(target.lexically_normal().string());
}

PrefixFileSystem::Resolved PrefixFileSystem::Resolve(std::string_view path) const {
  // The host would cut the path at a zero byte, so it would name something else.
  if (path.find('\0') != path.npos) return {};
  if (StartsWithNoCase(path, kUnixPrefix) &&
      (path.size() == kUnixPrefix.size() || IsSeparator(path[kUnixPrefix.size()]))) {
    std::string host = "/";
    const auto parts = NormalComponents(path.substr(kUnixPrefix.size()));
    for (const auto& part : parts) host = JoinHost(host, part);
    return {host, parts.empty()};
  }
  if (path.starts_with(kLongPathPrefix)) path.remove_prefix(kLongPathPrefix.size());
  const auto letter = DriveLetterOf(path);
  if (!letter) return {};
  std::string host = DriveTarget(*letter);
  if (host.empty()) return {};
  const auto parts = NormalComponents(path.substr(2));
  bool existing = true;
  for (const auto& part : parts) {
    // Once a component is missing nothing below it exists, so the rest keep the given spelling.
    const std::string name = existing ? MatchComponent(host, part) : part;
    host = JoinHost(host, name);
    existing = existing && EntryExists(host);
  }
  return {host, parts.empty()};
}

std::string PrefixFileSystem::HostPath(std::string_view path) const {
  const Resolved resolved = Resolve(path);
  return resolved.hostPath.empty() ? std::string() : CanonicalOrNormal(resolved.hostPath);
}

std::string PrefixFileSystem::PathOfArgument(std::string_view given) const {
  if (DriveLetterOf(given) && given.size() > 2 && IsSeparator(given[2])) return std::string(given);
  return WindowsPathOfHost(std::string(given));
}

std::string PrefixFileSystem::WindowsPathOfHost(const std::string& hostPath) const {
  std::error_code ec;
  fs::path absolute = fs::absolute(hostPath, ec);
  const std::string host = CanonicalOrNormal(ec ? fs::path(hostPath) : absolute);
  std::optional<char> bestLetter;
  std::string bestTarget;
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    const std::string target = DriveTarget(letter);
    if (target.empty()) continue;
    const std::string canonical = CanonicalOrNormal(target);
    if (FolderHolds(canonical, host) && (!bestLetter || canonical.size() > bestTarget.size())) {
      bestLetter = letter;
      bestTarget = canonical;
    }
  }
  if (!bestLetter) return std::string(kUnixPrefix) + SlashesToBackslashes(host);
  std::string rest = host.substr(bestTarget == "/" ? 1 : bestTarget.size());
  if (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
  return std::string(1, static_cast<char>(*bestLetter - 32)) + ":\\" + SlashesToBackslashes(rest);
}

std::vector<DirEntry> PrefixFileSystem::Find(std::string_view pattern) const {
  const auto [folder, name] = SplitLastComponent(pattern);
  if (name.empty()) return {};
  if (!HasWildcards(name)) {
    const Resolved resolved = Resolve(pattern);
    if (resolved.hostPath.empty() || resolved.isDriveRoot || !EntryExists(resolved.hostPath)) {
      return {};
    }
    const auto st = StatOf(resolved.hostPath);
    return {{fs::path(resolved.hostPath).filename().string(), st && S_ISDIR(st->st_mode)}};
  }
  const Resolved resolvedFolder = Resolve(folder);
  if (resolvedFolder.hostPath.empty()) return {};
  std::vector<DirEntry> found;
  std::error_code ec;
  for (fs::directory_iterator it(resolvedFolder.hostPath, ec), end; !ec && it != end;
       it.increment(ec)) {
    std::string entryName = it->path().filename().string();
    if (!MatchesWildcard(name, entryName)) continue;
    std::error_code typeError;
    found.push_back({std::move(entryName), it->is_directory(typeError)});
  }
  std::sort(found.begin(), found.end(),
            [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
  return found;
}

bool PrefixFileSystem::FileExists(std::string_view path) const {
  const auto st = StatOf(Resolve(path).hostPath);
  return st && !S_ISDIR(st->st_mode);
}

bool PrefixFileSystem::FolderExists(std::string_view path) const {
  const auto st = StatOf(Resolve(path).hostPath);
  return st && S_ISDIR(st->st_mode);
}

bool PrefixFileSystem::IsReadOnly(std::string_view path) const {
  const auto st = StatOf(Resolve(path).hostPath);
  return st && (st->st_mode & S_IWUSR) == 0;
}

bool PrefixFileSystem::SetReadOnly(std::string_view path, bool readOnly) {
  const std::string host = Resolve(path).hostPath;
  const auto st = StatOf(host);
  if (!st) return false;
  const mode_t writeBits = S_IWUSR | S_IWGRP | S_IWOTH;
  const mode_t mode = readOnly ? (st->st_mode & ~writeBits) : (st->st_mode | S_IWUSR);
  return ::chmod(host.c_str(), mode & 07777) == 0;
}

std::optional<int64_t> PrefixFileSystem::LastWriteTime(std::string_view path) const {
  const auto st = StatOf(Resolve(path).hostPath);
  if (!st) return std::nullopt;
  return static_cast<int64_t>(st->st_mtim.tv_sec);
}

bool PrefixFileSystem::CreateFolders(std::string_view path) {
  const std::string host = Resolve(path).hostPath;
  if (host.empty()) return false;
  std::error_code ec;
  fs::create_directories(host, ec);
  return fs::is_directory(host, ec);
}

bool PrefixFileSystem::DeleteFile(std::string_view path) {
  const std::string host = Resolve(path).hostPath;
  struct stat st {};
  if (host.empty() || ::lstat(host.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  // Wine refuses to delete a read-only file, so callers clear the attribute first.
  if (!S_ISLNK(st.st_mode) && (st.st_mode & S_IWUSR) == 0) return false;
  return ::unlink(host.c_str()) == 0;
}

bool PrefixFileSystem::ShellDelete(std::string_view pattern) {
  const auto [folder, name] = SplitLastComponent(pattern);
  if (!HasWildcards(name)) {
    const Resolved resolved = Resolve(pattern);
    if (resolved.hostPath.empty() || resolved.isDriveRoot || !EntryExists(resolved.hostPath)) {
      return false;
    }
    return RemoveTree(resolved.hostPath);
  }
  const std::string folderHost = Resolve(folder).hostPath;
  // Emptying the host's root folder is never what a caller of the shell's delete meant.
  if (folderHost.empty() || CanonicalOrNormal(folderHost) == "/") return false;
  const std::vector<DirEntry> matches = Find(pattern);
  if (matches.empty()) return false;
  for (const DirEntry& match : matches) {
    if (!RemoveTree(JoinHost(folderHost, match.name))) return false;
  }
  return true;
}

bool PrefixFileSystem::MoveFile(std::string_view from, std::string_view to, bool replace) {
  const Resolved source = Resolve(from);
  const Resolved target = Resolve(to);
  if (source.hostPath.empty() || target.hostPath.empty() || source.isDriveRoot ||
      target.isDriveRoot || !EntryExists(source.hostPath)) {
    return false;
  }
  const auto existing = StatOf(target.hostPath);
  // Windows replaces files only, and a read-only one not at all.
  if (existing && (!replace || S_ISDIR(existing->st_mode) || (existing->st_mode & S_IWUSR) == 0)) {
    return false;
  }
  return ::rename(source.hostPath.c_str(), target.hostPath.c_str()) == 0;
}

bool PrefixFileSystem::RemoveFolder(std::string_view path) {
  const Resolved resolved = Resolve(path);
  if (resolved.hostPath.empty() || resolved.isDriveRoot) return false;
  return ::rmdir(resolved.hostPath.c_str()) == 0;
}

std::unique_ptr<FileLock> PrefixFileSystem::TryLock(std::string_view path) {
  const Resolved resolved = Resolve(path);
  if (resolved.hostPath.empty() || resolved.isDriveRoot) return nullptr;
  return LockHostFile(resolved.hostPath);
}

std::unique_ptr<WritableFile> PrefixFileSystem::CreateForWrite(std::string_view path) {
  const Resolved resolved = Resolve(path);
  if (resolved.hostPath.empty() || resolved.isDriveRoot) return nullptr;
  // Windows will not open a read-only file for writing, whoever asks.
  const auto st = StatOf(resolved.hostPath);
  if (st && (st->st_mode & S_IWUSR) == 0) return nullptr;
  return CreateHostFile(resolved.hostPath);
}

std::unique_ptr<ReadableFile> PrefixFileSystem::OpenForRead(std::string_view path) const {
  const std::string host = Resolve(path).hostPath;
  if (host.empty()) return nullptr;
  return OpenHostFile(host);
}

std::vector<std::string> PrefixFileSystem::DriveLetters() const {
  std::vector<std::string> letters;
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    if (!DriveTarget(letter).empty()) letters.emplace_back(1, static_cast<char>(letter - 32));
  }
  return letters;
}

uint32_t PrefixFileSystem::GetDriveType(std::string_view root) const {
  const auto letter = DriveLetterOf(root);
  const bool isRoot = root.size() == 2 || (root.size() == 3 && IsSeparator(root[2]));
  if (!letter || !isRoot || DriveTarget(*letter).empty()) return kDriveNoRootDir;
  if (auto key = registry_.OpenKey(RegRoot::LocalMachine, kWineDrivesKey, RegView::Native)) {
    if (auto value = key->ReadValue(std::string(1, *letter) + ":")) {
      if (auto text = RegValueText(*value)) {
        if (auto type = DriveTypeOfWineName(*text)) return *type;
      }
    }
  }
  return (*letter == 'a' || *letter == 'b') ? kDriveRemovable : kDriveFixed;
}

std::optional<char> PrefixFileSystem::CurrentDriveLetter() const {
  std::error_code ec;
  const fs::path current = fs::current_path(ec);
  if (ec) return std::nullopt;
  const std::string windowsPath = WindowsPathOfHost(current.string());
  return DriveLetterOf(windowsPath);
}

namespace {

std::optional<DiskSpace> SpaceOfHostFolder(const std::string& hostPath) {
  struct statvfs vfs {};
  if (hostPath.empty() || ::statvfs(hostPath.c_str(), &vfs) != 0) return std::nullopt;
  const auto blockSize = static_cast<int64_t>(vfs.f_frsize);
  return DiskSpace{static_cast<int64_t>(vfs.f_bavail) * blockSize,
                   static_cast<int64_t>(vfs.f_blocks) * blockSize,
                   static_cast<int64_t>(vfs.f_bfree) * blockSize};
}

}  // namespace

std::optional<DiskSpace> PrefixFileSystem::GetDiskSpaceAt(std::string_view path) const {
  fs::path host = Resolve(path).hostPath;
  if (host.empty()) return std::nullopt;
  std::error_code ec;
  while (!fs::exists(host, ec) && host.has_parent_path() && host != host.parent_path()) {
    host = host.parent_path();
  }
  return SpaceOfHostFolder(host.string());
}

std::optional<DiskSpace> PrefixFileSystem::GetDiskSpace(int driveNumber) const {
  std::optional<char> letter;
  if (driveNumber == 0) {
    letter = CurrentDriveLetter();
  } else if (driveNumber >= 1 && driveNumber <= 26) {
    letter = static_cast<char>('a' + driveNumber - 1);
  }
  if (!letter) return std::nullopt;
  return SpaceOfHostFolder(DriveTarget(*letter));
}

}  // namespace dbinst
