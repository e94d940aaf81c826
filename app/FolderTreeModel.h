#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dbinst {

class FileSystem;

// One line of the folder browser's tree: a drive or a folder, indented by its depth.
struct TFolderRow {
  std::string path;  // with a trailing backslash
  std::string name;
  int depth = 0;
  bool expanded = false;
};

// The machine's drives, with the folders along the selected path opened: its ancestors' and its
// own sub-folders listed, everything else closed. Rebuilt from the file system on each selection.
class TFolderTreeModel {
 public:
  explicit TFolderTreeModel(const FileSystem& files) : files_(files) {}

  // Selects a folder (trailing backslash optional) and opens it; empty selects nothing.
  void Select(std::string_view folder);
  const std::string& Selected() const { return selected_; }
  const std::vector<TFolderRow>& Rows() const { return rows_; }
  // The row of the selected folder, or -1.
  int SelectedRow() const;
  // A label for the row as the tree shows it: indentation, an open or closed mark, the name.
  static std::string Label(const TFolderRow& row);

 private:
  void AddChildren(const std::string& folder, int depth);
  std::vector<std::string> SubFolders(const std::string& folder) const;

  const FileSystem& files_;
  std::string selected_;
  std::vector<TFolderRow> rows_;
};

}  // namespace dbinst
