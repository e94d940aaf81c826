#pragma once

#include <string>

namespace dbinst {

// True when a Wine server's socket exists for the prefix: Wine's own place for it,
// /tmp/.wine-<uid>/server-<device>-<inode>/socket, or the folder that a "wineserver" file in the
// prefix names under /tmp.
bool IsWineServerRunning(const std::string& prefixHostPath);

}  // namespace dbinst
