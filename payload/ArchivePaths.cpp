#include "payload/ArchivePaths.h"

#include <vector>

namespace dbinst {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::vector<std::string_view> Components(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || IsSeparator(path[i])) {
      parts.push_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

// Windows drops trailing dots and blanks, so ". ." or "..." may still climb out.
bool IsOnlyDotsAndBlanks(std::string_view part) {
  return part.find_first_not_of(". ") == std::string_view::npos;
}

}  // namespace

std::optional<std::string> RelativePathInside(std::string_view itemPath) {
  if (itemPath.empty() || IsSeparator(itemPath.front())) return std::nullopt;
  std::string relative;
  for (std::string_view part : Components(itemPath)) {
    if (part.empty() || part == ".") continue;
    if (IsOnlyDotsAndBlanks(part) || part.find(':') != std::string_view::npos) return std::nullopt;
    if (!relative.empty()) relative += '\\';
    relative += part;
  }
  if (relative.empty()) return std::nullopt;
  return relative;
}

}  // namespace dbinst
