#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dbinst {

// An archive item's path as a Windows path below the destination folder ("a\b.txt"); nothing
// when it could name anything outside that folder: absolute, "..", drive letters or streams.
std::optional<std::string> RelativePathInside(std::string_view itemPath);

}  // namespace dbinst
