#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dbinst {

// The installation log: plain lines in memory, never written to disk.
class InstallLog {
 public:
  void AddLine(std::string_view line) { lines_.emplace_back(line); }
  const std::vector<std::string>& Lines() const { return lines_; }
  void Clear() { lines_.clear(); }

 private:
  std::vector<std::string> lines_;
};

}  // namespace dbinst
