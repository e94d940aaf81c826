#include "platform/prefix/WineServerProbe.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <vector>

#include "platform/Text.h"

namespace dbinst {
namespace {

bool IsSocket(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

std::string ServerFolder(uid_t uid, const struct stat& prefix) {
  char name[96];
  std::snprintf(name, sizeof name, "/tmp/.wine-%u/server-%llx-%llx", static_cast<unsigned>(uid),
                static_cast<unsigned long long>(prefix.st_dev),
                static_cast<unsigned long long>(prefix.st_ino));
  return name;
}

// The "wineserver" entry of the prefix: a link to the socket folder, or a file holding its path.
std::string NamedServerFolder(const std::string& prefixHostPath) {
  const std::string entry = prefixHostPath + "/wineserver";
  char target[PATH_MAX];
  const ssize_t length = ::readlink(entry.c_str(), target, sizeof target - 1);
  if (length > 0) return std::string(target, static_cast<size_t>(length));
  std::ifstream file(entry);
  std::string line;
  std::getline(file, line);
  return Trim(line);
}

}  // namespace

bool IsWineServerRunning(const std::string& prefixHostPath) {
  struct stat prefix {};
  if (::stat(prefixHostPath.c_str(), &prefix) != 0) return false;
  // The server runs as the prefix's owner, who may not be the user running us.
  for (uid_t uid : {::getuid(), prefix.st_uid}) {
    if (IsSocket(ServerFolder(uid, prefix) + "/socket")) return true;
  }
  const std::string named = NamedServerFolder(prefixHostPath);
  if (named.rfind("/tmp/", 0) != 0 || named.find("/../") != std::string::npos) return false;
  return IsSocket(named) || IsSocket(named + "/socket");
}

}  // namespace dbinst
