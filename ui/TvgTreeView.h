#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/TvgText.h"

namespace dbinst {

class TvgTreeView;

// Every item is one row of this height.
inline constexpr float kTreeRowHeight = 19;

// One line of a tree view, with its check box.
class TvgTreeViewItem : public TvgObject {
 public:
  TvgTreeViewItem();

  std::string Text() const override { return text_; }
  void SetText(std::string_view text);
  bool IsChecked() const { return checked_; }
  // Raises the tree's OnChangeCheck with this item as the sender when the state changes.
  void SetIsChecked(bool checked);
  bool IsSelected() const;
  TvgTreeView* TreeView() const;

  const TPropertyTable<TvgObject>& StoredProperties() const override;
  void Paint(cairo_t* cr) const override;
  void MouseUp(const TMouseEvent& event, bool inside) override;
  // The check box's rectangle in the item's coordinates.
  TRectF CheckBoxRect() const;

 private:
  std::string text_;
  bool checked_ = false;
};

// A list of items (one level is all the layouts use) with check boxes and one selected item.
// Changes made between BeginUpdate and EndUpdate are laid out and painted once, at the end.
class TvgTreeView : public TvgObject {
 public:
  TvgTreeView();

  std::vector<TvgTreeViewItem*> Items() const;
  TvgTreeViewItem& AddItem(std::string_view text);
  TvgTreeViewItem* Selected() const { return selected_; }
  void SetSelected(TvgTreeViewItem* item);
  bool ShowCheckboxes() const { return showCheckboxes_; }
  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return updateDepth_ > 0; }
  // The first row shown: rows above it are scrolled out of view to keep the selection in sight.
  int TopRow() const { return topRow_; }

  const TPropertyTable<TvgObject>& StoredProperties() const override;
  void Realign() override;
  void Paint(cairo_t* cr) const override;
  bool CanFocus() const override { return true; }
  void MouseUp(const TMouseEvent& event, bool inside) override;
  // Up and Down move the selection, Space toggles the selected item's check box.
  bool KeyDown(EKey key) override;

  // Sender: the tree. Raised by a click anywhere on the tree.
  // OnClick is the base class's.
  // Sender: the item whose check box changed.
  TNotifyEvent OnChangeCheck;

 protected:
  bool DefersInvalidation(bool layout) override;

 private:
  friend class TvgTreeViewItem;
  void ItemCheckChanged(TvgTreeViewItem& item);
  std::vector<TvgTreeViewItem*> ShownItems() const;
  TvgTreeViewItem* selected_ = nullptr;
  bool showCheckboxes_ = false;
  bool autoExpand_ = false;
  int updateDepth_ = 0;
  bool heldPaint_ = false;
  bool heldLayout_ = false;
  int topRow_ = 0;
};

}  // namespace dbinst
