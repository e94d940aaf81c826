#include "app/FolderBrowser.h"

#include <algorithm>
#include <optional>

#include "env/TextKeys.h"
#include "payload/ResourceFile.h"
#include "platform/FileSystem.h"
#include "platform/Machine.h"
#include "platform/Text.h"
#include "ui/TvgControls.h"
#include "ui/TvgScene.h"
#include "ui/TvgText.h"
#include "ui/TvgTreeView.h"

namespace dbinst {
namespace {

constexpr std::string_view kLayoutResource = "TFORMFOLDERBROWSER";

}  // namespace

TFolderBrowser::TFolderBrowser(Machine& machine, TextOfKey text)
    : machine_(machine), text_(std::move(text)), model_(machine.files()) {
  BindHandlers();
  const std::optional<std::string> layout = ReadResourceBytes(machine.resources(), kLayoutResource);
  if (!layout) {
    throw EFormLoadError("the installer carries no layout " + std::string(kLayoutResource));
  }
  LoadLayout(*layout);
  Object<TvgText>("TextWindowTitle").SetText(text_(TextKey::Browse));
  Object<TvgButton>("ButtonOk").SetText(text_(TextKey::Ok));
  Object<TvgButton>("ButtonCancel").SetText(text_(TextKey::Cancel));
  Object<TvgButton>("ButtonNewFolder").SetText(text_(TextKey::NewFolder));
  auto& tree = Object<TvgTreeView>("TreeViewFolders");
  tree.BeginUpdate();
  for (size_t i = 0; i < kVisibleRows; ++i) tree.AddItem("");
  tree.EndUpdate();
}

void TFolderBrowser::BindHandlers() {
  const auto bind = [this](const char* name, void (TFolderBrowser::*handler)(TvgObject&)) {
    Bind(name, TNotifyEvent([this, handler](TvgObject& sender) { (this->*handler)(sender); }));
  };
  bind("TreeViewFoldersClick", &TFolderBrowser::TreeViewFoldersClick);
  bind("ButtonOkClick", &TFolderBrowser::ButtonOkClick);
  bind("ButtonCancelClick", &TFolderBrowser::ButtonCancelClick);
  bind("ButtonNewFolderClick", &TFolderBrowser::ButtonNewFolderClick);
  bind("ButtonScrollUpClick", &TFolderBrowser::ButtonScrollUpClick);
  bind("ButtonScrollDownClick", &TFolderBrowser::ButtonScrollDownClick);
}

bool TFolderBrowser::Execute(std::string_view caption, std::string_view startFolder,
                             std::string& chosen) {
  Object<TvgText>("TextCaption").SetText(caption);
  Object<TvgText>("TextError").SetVisible(false);
  confirmed_ = false;
  SelectFolder(startFolder);
  // Laid out before it shows, so that the first click already finds every object in its place.
  Scene().Layout();
  ShowModal();
  if (!confirmed_) return false;
  chosen = model_.Selected();
  return true;
}

void TFolderBrowser::SelectFolder(std::string_view folder) {
  model_.Select(folder);
  const int row = model_.SelectedRow();
  if (row >= 0) {
    const size_t selected = static_cast<size_t>(row);
    if (selected < firstRow_ || selected >= firstRow_ + kVisibleRows) {
      firstRow_ = selected >= kVisibleRows / 2 ? selected - kVisibleRows / 2 : 0;
    }
  }
  ShowRows();
}

void TFolderBrowser::ShowRows() {
  const std::vector<TFolderRow>& rows = model_.Rows();
  const size_t lastFirst = rows.size() > kVisibleRows ? rows.size() - kVisibleRows : 0;
  firstRow_ = std::min(firstRow_, lastFirst);
  auto& tree = Object<TvgTreeView>("TreeViewFolders");
  const std::vector<TvgTreeViewItem*> items = tree.Items();
  const int selected = model_.SelectedRow();
  TvgTreeViewItem* selectedItem = nullptr;
  showingRows_ = true;
  tree.BeginUpdate();
  for (size_t i = 0; i < items.size(); ++i) {
    const size_t row = firstRow_ + i;
    items[i]->SetText(row < rows.size() ? TFolderTreeModel::Label(rows[row]) : "");
    if (static_cast<int>(row) == selected) selectedItem = items[i];
  }
  tree.SetSelected(selectedItem);
  tree.EndUpdate();
  showingRows_ = false;
  Object<TvgButton>("ButtonOk").SetEnabled(!model_.Selected().empty());
  Object<TvgButton>("ButtonNewFolder").SetEnabled(!model_.Selected().empty());
  Object<TvgButton>("ButtonScrollUp").SetEnabled(firstRow_ > 0);
  Object<TvgButton>("ButtonScrollDown").SetEnabled(firstRow_ < lastFirst);
}

void TFolderBrowser::TreeViewFoldersClick(TvgObject&) {
  if (showingRows_) return;
  auto& tree = Object<TvgTreeView>("TreeViewFolders");
  const std::vector<TvgTreeViewItem*> items = tree.Items();
  const auto found = std::find(items.begin(), items.end(), tree.Selected());
  if (found == items.end()) return;
  const size_t row = firstRow_ + static_cast<size_t>(found - items.begin());
  // A click below the last folder keeps the selection as it was.
  const std::vector<TFolderRow>& rows = model_.Rows();
  SelectFolder(row < rows.size() ? rows[row].path : model_.Selected());
}

void TFolderBrowser::ButtonOkClick(TvgObject& sender) {
  // The arrow keys move the tree's selection without a click.
  TreeViewFoldersClick(sender);
  if (model_.Selected().empty()) return;
  confirmed_ = true;
  Hide();
}

void TFolderBrowser::ButtonCancelClick(TvgObject&) {
  confirmed_ = false;
  Hide();
}

void TFolderBrowser::ButtonNewFolderClick(TvgObject&) {
  const std::string parent = model_.Selected();
  if (parent.empty()) return;
  FileSystem& files = machine_.files();
  const std::string name = text_(TextKey::NewFolder);
  std::string path = parent + name;
  for (int number = 2; files.FolderExists(path) || files.FileExists(path); ++number) {
    path = parent + name + " (" + std::to_string(number) + ")";
  }
  if (!files.CreateFolders(path)) {
    ShowError(FillPlaceholders(text_(TextKey::CannotCreateFolder), {path}));
    return;
  }
  Object<TvgText>("TextError").SetVisible(false);
  SelectFolder(path);
}

void TFolderBrowser::ButtonScrollUpClick(TvgObject&) {
  firstRow_ = firstRow_ > kVisibleRows ? firstRow_ - kVisibleRows : 0;
  ShowRows();
}

void TFolderBrowser::ButtonScrollDownClick(TvgObject&) {
  firstRow_ += kVisibleRows;
  ShowRows();
}

void TFolderBrowser::ShowError(const std::string& text) {
  auto& error = Object<TvgText>("TextError");
  error.SetText(text);
  error.SetVisible(true);
}

bool TFolderBrowser::ApplyScriptedAnswer(std::string_view answer, std::string& error) {
  if (answer == "cancel") return ClickNamed(*this, "ButtonCancel", error);
  const std::string folder = WithoutTrailingBackslash(answer);
  const bool absolute = folder.size() >= 2 && folder[1] == ':';
  if (!absolute || !machine_.files().FolderExists(WithTrailingBackslash(folder))) {
    error = "no folder " + std::string(answer) + " on the machine";
    return false;
  }
  SelectFolder(folder);
  return ClickNamed(*this, "ButtonOk", error);
}

}  // namespace dbinst
