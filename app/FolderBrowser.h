#pragma once

#include <string>
#include <string_view>

#include "app/FolderTreeModel.h"
#include "app/TextOfKey.h"
#include "ui/Automation.h"
#include "ui/TvgForm.h"

namespace dbinst {

class Machine;

// The browse-for-folder dialog: the machine's drives and folders as a tree, a button that makes
// a new folder in the selected one, OK and Cancel. Modal; answers a Windows folder path.
class TFolderBrowser : public TvgForm {
 public:
  static constexpr size_t kVisibleRows = 12;

  // Loads the layout TFORMFOLDERBROWSER from the machine's resources; throws EFormLoadError when it
  // is missing.
  TFolderBrowser(Machine& machine, TextOfKey text);

  // Opens at the start folder (none when empty); true with the folder, trailing backslash
  // included, when the user confirms one.
  bool Execute(std::string_view caption, std::string_view startFolder, std::string& chosen);

  // Selects the folder in the tree and scrolls it into view.
  void SelectFolder(std::string_view folder);
  const TFolderTreeModel& Model() const { return model_; }

 private:
  void BindHandlers();
  void ShowRows();
  void TreeViewFoldersClick(TvgObject& sender);
  void ButtonOkClick(TvgObject& sender);
  void ButtonCancelClick(TvgObject& sender);
  void ButtonNewFolderClick(TvgObject& sender);
  void ButtonScrollUpClick(TvgObject& sender);
  void ButtonScrollDownClick(TvgObject& sender);
  void ShowError(const std::string& text);
  // "cancel", or a folder that exists on the machine: selected, then confirmed.
  bool ApplyScriptedAnswer(std::string_view answer, std::string& error);

  Machine& machine_;
  TextOfKey text_;
  TFolderTreeModel model_;
  size_t firstRow_ = 0;
  bool confirmed_ = false;
  bool showingRows_ = false;
  ScriptedDialog scripted_{*this, "browse", [this](std::string_view answer, std::string& error) {
                             return ApplyScriptedAnswer(answer, error);
                           }};
};

}  // namespace dbinst
