#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dbinst {

class FileSystem;

// Writes the log's lines into a file, UTF-8, CR LF after each; false with the reason.
bool WriteLogFile(FileSystem& files, std::string_view path, const std::vector<std::string>& lines,
                  std::string& error);

// Writes a text whole or not at all: a new file beside it, on the disk before it takes the name.
bool WriteFileAtomically(FileSystem& files, std::string_view path, std::string_view text,
                         std::string& error);

}  // namespace dbinst
