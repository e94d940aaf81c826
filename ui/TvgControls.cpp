#include "ui/TvgControls.h"

#include <algorithm>

#include "ui/PropertyTable.h"
#include "ui/TvgScene.h"

namespace dbinst {
namespace {

bool Usable(const TvgObject& object) { return object.ShownOnScreen() && object.EnabledOnScreen(); }

}  // namespace

TvgButton::TvgButton() : TvgObject("TvgButton") {}

void TvgButton::SetText(std::string_view text) {
  if (text_ == text) return;
  text_ = std::string(text);
  Invalidate();
}

const TPropertyTable<TvgObject>& TvgButton::StoredProperties() const {
  using P = const TStoredProperty&;
  static const TPropertyTable<TvgObject> table =
      TPropertiesOf<TvgObject, TvgButton>("TvgButton", &TvgObject::StoredProperties())
          .Stored("Text", kAString, [](TvgButton& b, P p) { b.text_ = p.Text(); })
          .Font(&TvgButton::font_)
          .Stored("Default", kTrueOrFalse, [](TvgButton& b, P p) { b.default_ = p.Bool(); })
          .Stored("DisableFocusEffect", kTrueOrFalse,
                  [](TvgButton& b, P p) { b.focusEffect_ = !p.Bool(); })
          .Table();
  return table;
}

void TvgButton::MouseDown(const TMouseEvent& /*event*/) {
  pressed_ = true;
  Invalidate();
}

void TvgButton::MouseUp(const TMouseEvent& /*event*/, bool inside) {
  const bool wasPressed = pressed_;
  pressed_ = false;
  Invalidate();
  if (wasPressed && inside && Usable(*this)) RaiseEvent(OnClick, *this);
}

bool TvgButton::KeyDown(EKey key) {
  if (key != EKey::Space && key != EKey::Enter) return false;
  if (!Usable(*this)) return false;
  RaiseEvent(OnClick, *this);
  return true;
}

TvgRadioButton::TvgRadioButton() : TvgObject("TvgRadioButton") {}

void TvgRadioButton::SetText(std::string_view text) {
  if (text_ == text) return;
  text_ = std::string(text);
  Invalidate();
}

// The buttons that lose their check hear of it first, the newly checked one last.
void TvgRadioButton::SetIsChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Invalidate();
  if (checked && Parent()) {
    std::vector<TvgRadioButton*> unchecked;
    for (const std::unique_ptr<TvgObject>& sibling : Parent()->Children()) {
      auto* radio = dynamic_cast<TvgRadioButton*>(sibling.get());
      if (!radio || radio == this || !radio->checked_ || radio->group_ != group_) continue;
      radio->checked_ = false;
      radio->Invalidate();
      unchecked.push_back(radio);
    }
    for (TvgRadioButton* radio : unchecked) RaiseEvent(radio->OnChange, *radio);
  }
  RaiseEvent(OnChange, *this);
}

std::vector<TvgRadioButton*> TvgRadioButton::Group() const {
  std::vector<TvgRadioButton*> group;
  if (!Parent()) return group;
  for (const std::unique_ptr<TvgObject>& sibling : Parent()->Children()) {
    auto* radio = dynamic_cast<TvgRadioButton*>(sibling.get());
    if (radio && radio->group_ == group_ && (radio == this || Usable(*radio))) {
      group.push_back(radio);
    }
  }
  return group;
}

const TPropertyTable<TvgObject>& TvgRadioButton::StoredProperties() const {
  using P = const TStoredProperty&;
  using R = TvgRadioButton&;
  static const TPropertyTable<TvgObject> table =
      TPropertiesOf<TvgObject, TvgRadioButton>("TvgRadioButton", &TvgObject::StoredProperties())
          .Stored("Text", kAString, [](R r, P p) { r.text_ = p.Text(); })
          .Font(&TvgRadioButton::font_)
          .Stored("IsChecked", kTrueOrFalse, [](R r, P p) { r.checked_ = p.Bool(); })
          .Dumped("checked",
                  [](const TvgRadioButton& r, JsonWriter& json) { json.Bool(r.IsChecked()); })
          .Stored("GroupName", "a string; buttons of one parent and one name are a group",
                  [](R r, P p) { r.group_ = p.Text(); })
          .Stored("OnChange", kAHandler, [](R r, P p) { r.OnChange = p.Handler(); })
          .Table();
  return table;
}

void TvgRadioButton::MouseUp(const TMouseEvent& /*event*/, bool inside) {
  if (!inside || !Usable(*this)) return;
  SetIsChecked(true);
  RaiseEvent(OnClick, *this);
}

bool TvgRadioButton::KeyDown(EKey key) {
  if (!Usable(*this)) return false;
  if (key == EKey::Space) {
    SetIsChecked(true);
    return true;
  }
  int step = 0;
  if (key == EKey::Down || key == EKey::Right) step = 1;
  if (key == EKey::Up || key == EKey::Left) step = -1;
  if (step == 0) return false;
  const std::vector<TvgRadioButton*> group = Group();
  const auto self = std::find(group.begin(), group.end(), this);
  const int count = static_cast<int>(group.size());
  const int index = static_cast<int>(self - group.begin());
  TvgRadioButton& next = *group[(index + step + count) % count];
  if (TvgScene* scene = Scene()) scene->SetActiveControl(&next);
  next.SetIsChecked(true);
  return true;
}

TvgGroupBox::TvgGroupBox() : TvgObject("TvgGroupBox") {}

void TvgGroupBox::SetText(std::string_view text) {
  if (text_ == text) return;
  text_ = std::string(text);
  Invalidate();
}

const TPropertyTable<TvgObject>& TvgGroupBox::StoredProperties() const {
  using P = const TStoredProperty&;
  static const TPropertyTable<TvgObject> table =
      TPropertiesOf<TvgObject, TvgGroupBox>("TvgGroupBox", &TvgObject::StoredProperties())
          .Stored("Text", kAString, [](TvgGroupBox& g, P p) { g.text_ = p.Text(); })
          .Font(&TvgGroupBox::font_)
          .Table();
  return table;
}

}  // namespace dbinst
