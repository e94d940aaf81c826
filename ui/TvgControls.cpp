#include "ui/TvgControls.h"

#include <algorithm>

#include "ui/StoredProperties.h"
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

bool TvgButton::LoadProperty(const TFormProperty& stored, TFormLoadContext& context) {
  const TStoredProperty property(*this, stored, context);
  if (LoadFontProperty(font_, property)) return true;
  if (property.Is("Text")) {
    text_ = property.Text();
  } else if (property.Is("Default")) {
    default_ = property.Bool();
  } else if (property.Is("DisableFocusEffect")) {
    focusEffect_ = !property.Bool();
  } else {
    return TvgObject::LoadProperty(stored, context);
  }
  return true;
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

bool TvgRadioButton::LoadProperty(const TFormProperty& stored, TFormLoadContext& context) {
  const TStoredProperty property(*this, stored, context);
  if (LoadFontProperty(font_, property)) return true;
  if (property.Is("Text")) {
    text_ = property.Text();
  } else if (property.Is("IsChecked")) {
    checked_ = property.Bool();
  } else if (property.Is("GroupName")) {
    group_ = property.Text();
  } else if (property.Is("OnChange")) {
    OnChange = property.Handler();
  } else {
    return TvgObject::LoadProperty(stored, context);
  }
  return true;
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

bool TvgGroupBox::LoadProperty(const TFormProperty& stored, TFormLoadContext& context) {
  const TStoredProperty property(*this, stored, context);
  if (LoadFontProperty(font_, property)) return true;
  if (property.Is("Text")) {
    text_ = property.Text();
  } else {
    return TvgObject::LoadProperty(stored, context);
  }
  return true;
}

}  // namespace dbinst
