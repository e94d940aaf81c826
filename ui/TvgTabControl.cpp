#include "ui/TvgTabControl.h"

#include <algorithm>

#include "ui/PropertyTable.h"

namespace dbinst {
namespace {

constexpr float kTabItemHiddenOpacity = 0.05f;

bool IsPageOf(const std::vector<TvgTabItem*>& items, const TvgObject& child) {
  return std::any_of(items.begin(), items.end(),
                     [&](const TvgTabItem* item) { return item->Page() == &child; });
}

}  // namespace

TvgTabItem::TvgTabItem() : TvgObject("TvgTabItem") {}

TvgTabControl* TvgTabItem::TabControl() const { return dynamic_cast<TvgTabControl*>(Parent()); }

void TvgTabItem::SetText(std::string_view text) {
  if (text_ == text) return;
  text_ = std::string(text);
  Invalidate();
}

const TPropertyTable<TvgObject>& TvgTabItem::StoredProperties() const {
  using P = const TStoredProperty&;
  static const TPropertyTable<TvgObject> table =
      TPropertiesOf<TvgObject, TvgTabItem>("TvgTabItem", &TvgObject::StoredProperties())
          .Stored("Text", kAString, [](TvgTabItem& item, P p) { item.text_ = p.Text(); })
          .Stored("Layout", "the name of its page, another child of the tab control",
                  [](TvgTabItem& item, P p) { item.pageName_ = p.Reference(); })
          .Table();
  return table;
}

void TvgTabItem::Loaded(TFormLoadContext& context) {
  if (pageName_.empty()) return;
  TvgObject* page = context.Object(pageName_);
  const std::string where = DescribeObject(*this) + ", property Layout: ";
  if (!page) context.Fail(where + "no object is named '" + pageName_ + "'");
  if (page->Parent() != Parent() || dynamic_cast<TvgTabItem*>(page)) {
    context.Fail(where + "'" + pageName_ + "' is not a page of the same tab control");
  }
  page_ = page;
}

// A header made practically transparent is one the program hid from the user, so that only the
// program changes the page; a press on it must not change the page either.
void TvgTabItem::MouseUp(const TMouseEvent& /*event*/, bool inside) {
  if (!inside || !EnabledOnScreen() || !ShownOnScreen()) return;
  if (Opacity() < kTabItemHiddenOpacity) return;
  if (TvgTabControl* tabs = TabControl()) tabs->SetSelected(this);
  RaiseEvent(OnClick, *this);
}

TvgTabControl::TvgTabControl() : TvgObject("TvgTabControl") {}

std::vector<TvgTabItem*> TvgTabControl::Items() const {
  std::vector<TvgTabItem*> items;
  for (const std::unique_ptr<TvgObject>& child : Children()) {
    if (auto* item = dynamic_cast<TvgTabItem*>(child.get())) items.push_back(item);
  }
  return items;
}

void TvgTabControl::SetSelected(TvgTabItem* item) {
  if (item && item->Parent() != this) return;
  selected_ = item;
  for (TvgTabItem* each : Items()) {
    if (each->Page()) each->Page()->SetVisible(each == item);
  }
  // The selected page goes on showing even when another item shares it.
  if (item && item->Page()) item->Page()->SetVisible(true);
  InvalidateLayout();
}

int TvgTabControl::TabIndex() const {
  const std::vector<TvgTabItem*> items = Items();
  const auto found = std::find(items.begin(), items.end(), selected_);
  return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

const TPropertyTable<TvgObject>& TvgTabControl::StoredProperties() const {
  using P = const TStoredProperty&;
  static const TPropertyTable<TvgObject> table =
      TPropertiesOf<TvgObject, TvgTabControl>("TvgTabControl", &TvgObject::StoredProperties())
          .Stored("TabIndex", "the index of the selected tab item, -1 for none",
                  [](TvgTabControl& tabs, P p) {
                    const float index = p.NumberAtLeast(-1);
                    if (index != static_cast<float>(static_cast<int>(index))) {
                      p.Fail("expected an index");
                    }
                    tabs.storedIndex_ = static_cast<int>(index);
                  })
          .Shown("selected",
                 [](const TvgTabControl& tabs, JsonWriter& json) {
                   json.String(tabs.Selected() ? tabs.Selected()->Name() : "");
                 })
          .Table();
  return table;
}

void TvgTabControl::Loaded(TFormLoadContext& context) {
  const std::vector<TvgTabItem*> items = Items();
  if (storedIndex_ >= static_cast<int>(items.size())) {
    context.Fail(DescribeObject(*this) + ", property TabIndex: there are only " +
                 std::to_string(items.size()) + " tab items");
  }
  if (storedIndex_ >= 0) SetSelected(items[storedIndex_]);
}

void TvgTabControl::Realign() {
  const TRectF area = ContentRect();
  const std::vector<TvgTabItem*> items = Items();
  float left = area.left;
  float headerHeight = 0;
  for (TvgTabItem* item : items) {
    if (!item->Visible()) continue;
    PlaceChild(*item, {left, area.top, left + item->Width(), area.top + item->Height()});
    left += item->Width();
    headerHeight = std::max(headerHeight, item->Height());
  }
  const TRectF pageArea{area.left, area.top + headerHeight, area.right, area.bottom};
  AlignChildren(pageArea, [&](const TvgObject& child) -> std::optional<EAlign> {
    if (dynamic_cast<const TvgTabItem*>(&child)) return std::nullopt;
    if (IsPageOf(items, child)) return EAlign::Client;
    return child.Align();
  });
  for (const std::unique_ptr<TvgObject>& child : Children()) child->Realign();
}

}  // namespace dbinst
