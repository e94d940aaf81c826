#pragma once

#include <memory>
#include <string>

#include "platform/FileSystem.h"

namespace dbinst {

// Creates or truncates a host file (mode 0644 before the umask); null when it cannot be created.
std::unique_ptr<WritableFile> CreateHostFile(const std::string& hostPath);
// Null when the path is missing, unreadable or not a regular file.
std::unique_ptr<ReadableFile> OpenHostFile(const std::string& hostPath);
// The exclusive lock of a host file, made when missing and removed when released; null while
// another process holds it.
std::unique_ptr<FileLock> LockHostFile(const std::string& hostPath);

}  // namespace dbinst
