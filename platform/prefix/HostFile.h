#pragma once

#include <string>
#include <string_view>

namespace dbinst {

// The whole file; false with "path: reason" in error when it cannot be read.
bool ReadHostFile(const std::string& path, std::string& content, std::string& error);

// Replaces the file's content through a sibling temporary file: written, flushed to disk, given
// the old file's permissions (and owner where allowed), renamed over it, the folder flushed too.
// A link is followed so the file it names is replaced. On failure the old file is untouched and
// the temporary file is gone.
bool ReplaceHostFile(const std::string& path, std::string_view content, std::string& error);

}  // namespace dbinst
