#include "payload/MyFileOp.h"

#include "env/InstallLog.h"
#include "env/MessagePump.h"
#include "payload/ShellOps.h"
#include "platform/FileSystem.h"
#include "platform/Machine.h"
#include "platform/Text.h"

namespace dbinst {
namespace {

bool EndsWithSeparator(std::string_view path) {
  return !path.empty() && (path.back() == '\\' || path.back() == '/');
}

std::string WithoutTrailingSeparators(std::string_view path) {
  while (EndsWithSeparator(path)) path.remove_suffix(1);
  return std::string(path);
}

}  // namespace

bool IsLargeEnoughDrive(int64_t size) { return size > kSmallestAcceptedDriveSize; }

MyFileOp::MyFileOp(Machine& machine, InstallLog& log, bool claimExtractionFolder)
    : machine_(machine), log_(log), shellOps_(std::make_unique<ShellOps>(machine)) {
  extractionFolderName_ = std::string(kExtractionFolderName);
  if (claimExtractionFolder) ClaimExtractionFolder();
}

MyFileOp::~MyFileOp() = default;

bool MyFileOp::PathExists(std::string_view path) const {
  return !machine_.files().Find(path).empty();
}

bool MyFileOp::NamesWholeDrive(std::string_view path) const {
  const FileSystem& files = machine_.files();
  const std::string host = files.HostPath(WithoutTrailingSeparators(path));
  if (host.empty() || host == "/") return true;
  if (path.size() < 2 || path[1] != ':') return false;
  return host == files.HostPath(std::string(path.substr(0, 2)) + "\\");
}

bool MyFileOp::DeletePath(std::string_view path, bool silent) {
  // No progress dialog exists on this platform, so silent and not silent behave alike.
  static_cast<void>(silent);
  // A root with its trailing backslash would otherwise become "C:\*.*" and empty the drive.
  if (NamesWholeDrive(path)) return false;
  std::string target(path);
  if (EndsWithSeparator(target)) target += "*.*";
  return machine_.files().ShellDelete(target);
}

bool MyFileOp::IsFolderEmpty(std::string_view folder) const {
  const FileSystem& files = machine_.files();
  const std::string withBackslash = WithTrailingBackslash(folder);
  if (!files.FolderExists(withBackslash)) return true;
  const bool empty = files.Find(withBackslash + "*.*").empty();
  ProcessMessages();
  return empty;
}

TLogicalDriveFoundVec MyFileOp::ListLocalDrives() {
  TLogicalDriveFoundVec found;
  for (char letter = 'C'; letter <= 'Z'; ++letter) log_.AddLine(ExamineDrive(letter, found));
  return found;
}

std::string MyFileOp::ExamineDrive(char letter, TLogicalDriveFoundVec& found) {
  FileSystem& files = machine_.files();
  const std::string root = std::string(1, letter) + ":\\";
  std::string line = "Examining drive " + std::string(1, letter) + ":";
  const uint32_t type = files.GetDriveType(root);
  line += " Type = " + std::to_string(type) + ";";
  if (type != kDriveFixed) return line;

  const auto space = files.GetDiskSpace(DriveNumberOf(root));
  const int64_t size = space ? space->total : -1;
  line += " Size = " + std::to_string(size) + ";";
  if (!IsLargeEnoughDrive(size)) return line;

  const std::string checkupPath = root + std::string(kCheckupFileName);
  line += " Trying the checkup file: " + checkupPath + ";";
  auto checkup = files.CreateForWrite(checkupPath);
  if (!checkup) return line;
  checkup->Close();
  files.DeleteFile(checkupPath);
  found.push_back({std::string(1, letter), GetDriveFreeSpace(root), size});
  return line + " Yaaay, added up";
}

int MyFileOp::DriveNumberOf(std::string_view path) const {
  if (path.empty()) return 0;
  const size_t position = driveLetters_.find(ToUpper(path.substr(0, 1)));
  return position == std::string::npos ? 0 : static_cast<int>(position) + 1;
}

int64_t MyFileOp::GetDriveFreeSpace(std::string_view path) const {
  if (path.empty()) return -1;
  const auto space = machine_.files().GetDiskSpace(DriveNumberOf(path));
  return space ? space->freeToCaller : -1;
}

}  // namespace dbinst
