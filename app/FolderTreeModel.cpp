#include "app/FolderTreeModel.h"

#include <algorithm>

#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace dbinst {

void TFolderTreeModel::Select(std::string_view folder) {
  selected_ = folder.empty() ? std::string() : WithTrailingBackslash(folder);
  rows_.clear();
  for (const std::string& letter : files_.DriveLetters()) {
    const std::string root = ToUpper(letter) + ":\\";
    if (!files_.FolderExists(root)) continue;
    const bool open = StartsWithNoCase(selected_, root);
    rows_.push_back({root, root, 0, open});
    if (open) AddChildren(root, 1);
  }
}

void TFolderTreeModel::AddChildren(const std::string& folder, int depth) {
  for (const std::string& name : SubFolders(folder)) {
    const std::string path = folder + name + "\\";
    const bool open = StartsWithNoCase(selected_, path);
    rows_.push_back({path, name, depth, open});
    if (open) AddChildren(path, depth + 1);
  }
}

std::vector<std::string> TFolderTreeModel::SubFolders(const std::string& folder) const {
  std::vector<std::string> names;
  for (const DirEntry& entry : files_.Find(folder + "*")) {
    if (entry.isFolder && entry.name != "." && entry.name != "..") names.push_back(entry.name);
  }
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return ToLower(a) < ToLower(b); });
  return names;
}

int TFolderTreeModel::SelectedRow() const {
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (EqualsNoCase(rows_[i].path, selected_)) return static_cast<int>(i);
  }
  return -1;
}

std::string TFolderTreeModel::Label(const TFolderRow& row) {
  return std::string(static_cast<size_t>(row.depth) * 4, ' ') +
         (row.expanded ? "\u25BE " : "\u25B8 ") + row.name;
}

}  // namespace dbinst
