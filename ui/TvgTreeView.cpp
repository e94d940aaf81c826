#include "ui/TvgTreeView.h"

#include <algorithm>
#include <cmath>

#include "ui/PropertyTable.h"
#include "ui/TvgScene.h"

namespace dbinst {
namespace {

constexpr float kCheckBoxSize = 13;

}  // namespace

TvgTreeViewItem::TvgTreeViewItem() : TvgObject("TvgTreeViewItem") { SetHeight(kTreeRowHeight); }

void TvgTreeViewItem::SetText(std::string_view text) {
  if (text_ == text) return;
  text_ = std::string(text);
  Invalidate();
}

void TvgTreeViewItem::SetIsChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Invalidate();
  if (TvgTreeView* tree = TreeView()) tree->ItemCheckChanged(*this);
}

bool TvgTreeViewItem::IsSelected() const {
  const TvgTreeView* tree = TreeView();
  return tree && tree->Selected() == this;
}

TvgTreeView* TvgTreeViewItem::TreeView() const { return dynamic_cast<TvgTreeView*>(Parent()); }

const TPropertyTable<TvgObject>& TvgTreeViewItem::StoredProperties() const {
  using P = const TStoredProperty&;
  using I = TvgTreeViewItem&;
  static const TPropertyTable<TvgObject> table =
      TPropertiesOf<TvgObject, TvgTreeViewItem>("TvgTreeViewItem", &TvgObject::StoredProperties())
          .Stored("Text", kAString, [](I item, P p) { item.text_ = p.Text(); })
          .Stored("IsChecked", kTrueOrFalse, [](I item, P p) { item.checked_ = p.Bool(); })
          .Dumped("checked", [](const TvgTreeViewItem& item,
                                JsonWriter& json) { json.Bool(item.IsChecked()); })
          .Table();
  return table;
}

TRectF TvgTreeViewItem::CheckBoxRect() const {
  const TvgTreeView* tree = TreeView();
  if (!tree || !tree->ShowCheckboxes()) return {};
  const float top = (kTreeRowHeight - kCheckBoxSize) / 2;
  return {3, top, 3 + kCheckBoxSize, top + kCheckBoxSize};
}

// A release on the check box toggles it; anywhere else on the row selects the item. Either way
// the tree then hears of the click.
void TvgTreeViewItem::MouseUp(const TMouseEvent& event, bool inside) {
  TvgTreeView* tree = TreeView();
  if (!inside || !tree || !EnabledOnScreen() || !ShownOnScreen()) return;
  if (CheckBoxRect().Contains(event.local)) {
    SetIsChecked(!checked_);
  } else {
    tree->SetSelected(this);
  }
  RaiseEvent(tree->OnClick, *tree);
}

TvgTreeView::TvgTreeView() : TvgObject("TvgTreeView") { SetClipChildren(true); }

std::vector<TvgTreeViewItem*> TvgTreeView::Items() const {
  std::vector<TvgTreeViewItem*> items;
  for (const std::unique_ptr<TvgObject>& child : Children()) {
    if (auto* item = dynamic_cast<TvgTreeViewItem*>(child.get())) items.push_back(item);
  }
  return items;
}

std::vector<TvgTreeViewItem*> TvgTreeView::ShownItems() const {
  std::vector<TvgTreeViewItem*> items = Items();
  std::erase_if(items, [](const TvgTreeViewItem* item) { return !item->Visible(); });
  return items;
}

TvgTreeViewItem& TvgTreeView::AddItem(std::string_view text) {
  auto item = std::make_unique<TvgTreeViewItem>();
  item->SetText(text);
  return static_cast<TvgTreeViewItem&>(AddChild(std::move(item)));
}

void TvgTreeView::SetSelected(TvgTreeViewItem* item) {
  if (item && item->Parent() != this) return;
  if (selected_ == item) return;
  selected_ = item;
  // The new selection may lie outside the rows in view.
  InvalidateLayout();
}

void TvgTreeView::BeginUpdate() { ++updateDepth_; }

void TvgTreeView::EndUpdate() {
  if (updateDepth_ == 0) return;
  if (--updateDepth_ > 0) return;
  const bool paint = heldPaint_;
  const bool layout = heldLayout_;
  heldPaint_ = false;
  heldLayout_ = false;
  if (layout) {
    InvalidateLayout();
  } else if (paint) {
    Invalidate();
  }
}

bool TvgTreeView::DefersInvalidation(bool layout) {
  if (updateDepth_ == 0) return false;
  heldPaint_ = true;
  heldLayout_ = heldLayout_ || layout;
  return true;
}

const TPropertyTable<TvgObject>& TvgTreeView::StoredProperties() const {
  using P = const TStoredProperty&;
  using T = TvgTreeView&;
  static const TPropertyTable<TvgObject> table =
      TPropertiesOf<TvgObject, TvgTreeView>("TvgTreeView", &TvgObject::StoredProperties())
          .Stored("ShowCheckboxes", kTrueOrFalse,
                  [](T tree, P p) { tree.showCheckboxes_ = p.Bool(); })
          .Stored("AutoExpand", kTrueOrFalse, [](T tree, P p) { tree.autoExpand_ = p.Bool(); })
          .Stored("OnChangeCheck", kAHandler, [](T tree, P p) { tree.OnChangeCheck = p.Handler(); })
          .Shown("items",
                 [](const TvgTreeView& tree, JsonWriter& json) {
                   json.BeginArray();
                   for (const TvgTreeViewItem* item : tree.Items()) {
                     json.BeginObject().Key("text").String(item->Text());
                     json.Key("checked").Bool(item->IsChecked());
                     json.Key("selected").Bool(item->IsSelected());
                     json.EndObject();
                   }
                   json.EndArray();
                 })
          .Table();
  return table;
}

void TvgTreeView::Realign() {
  const TRectF area = ContentRect();
  const std::vector<TvgTreeViewItem*> shown = ShownItems();
  const int rows = std::max(1, static_cast<int>(std::floor(area.Height() / kTreeRowHeight)));
  const int count = static_cast<int>(shown.size());
  const auto selected = std::find(shown.begin(), shown.end(), selected_);
  if (selected != shown.end()) {
    const int index = static_cast<int>(selected - shown.begin());
    topRow_ = std::clamp(topRow_, index - rows + 1, index);
  }
  topRow_ = std::clamp(topRow_, 0, std::max(0, count - rows));
  float top = area.top - static_cast<float>(topRow_) * kTreeRowHeight;
  for (TvgTreeViewItem* item : shown) {
    PlaceChild(*item, {area.left, top, area.right, top + kTreeRowHeight});
    top += kTreeRowHeight;
  }
  AlignChildren(area, [](const TvgObject& child) -> std::optional<EAlign> {
    if (dynamic_cast<const TvgTreeViewItem*>(&child)) return std::nullopt;
    return child.Align();
  });
  for (const std::unique_ptr<TvgObject>& child : Children()) child->Realign();
}

void TvgTreeView::MouseUp(const TMouseEvent& /*event*/, bool inside) {
  if (inside && EnabledOnScreen() && ShownOnScreen()) RaiseEvent(OnClick, *this);
}

bool TvgTreeView::KeyDown(EKey key) {
  if (!EnabledOnScreen() || !ShownOnScreen()) return false;
  if (key == EKey::Space) {
    if (selected_) selected_->SetIsChecked(!selected_->IsChecked());
    return selected_ != nullptr;
  }
  if (key != EKey::Up && key != EKey::Down) return false;
  const std::vector<TvgTreeViewItem*> shown = ShownItems();
  if (shown.empty()) return true;
  const auto current = std::find(shown.begin(), shown.end(), selected_);
  if (current == shown.end()) {
    SetSelected(key == EKey::Down ? shown.front() : shown.back());
  } else if (key == EKey::Down && current + 1 != shown.end()) {
    SetSelected(*(current + 1));
  } else if (key == EKey::Up && current != shown.begin()) {
    SetSelected(*(current - 1));
  }
  return true;
}

void TvgTreeView::ItemCheckChanged(TvgTreeViewItem& item) { RaiseEvent(OnChangeCheck, item); }

}  // namespace dbinst
