#include "app/RunFiles.h"

#include "platform/FileSystem.h"

namespace dbinst {
namespace {

bool Write(FileSystem& files, const std::string& path, std::string_view text, bool sync,
           std::string& error) {
  auto file = files.CreateForWrite(path);
  if (!file) {
    error = path + " cannot be created";
    return false;
  }
  const bool written = file->Write(text.data(), static_cast<int64_t>(text.size())) ==
                           static_cast<int64_t>(text.size()) &&
                       (!sync || file->Sync());
  if (!file->Close() || !written) {
    files.DeleteFile(path);
    error = path + " cannot be written whole";
    return false;
  }
  return true;
}

}  // namespace

bool WriteLogFile(FileSystem& files, std::string_view path, const std::vector<std::string>& lines,
                  std::string& error) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return Write(files, files.PathOfArgument(path), text, false, error);
}

bool WriteFileAtomically(FileSystem& files, std::string_view path, std::string_view text,
                         std::string& error) {
  const std::string target = files.PathOfArgument(path);
  const std::string fresh = target + ".new";
  if (!Write(files, fresh, text, true, error)) return false;
  if (!files.MoveFile(fresh, target, true)) {
    files.DeleteFile(fresh);
    error = target + " cannot be replaced";
    return false;
  }
  return true;
}

}  // namespace dbinst
