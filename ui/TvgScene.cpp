#include "ui/TvgScene.h"

#include <algorithm>

#include "ui/BuiltInStyles.h"
#include "ui/PropertyTable.h"
#include "ui/TvgControls.h"
#include "ui/TvgResources.h"

namespace dbinst {
namespace {

bool Usable(const TvgObject& object) { return object.ShownOnScreen() && object.EnabledOnScreen(); }

void CollectFocusable(TvgObject& object, std::vector<TvgObject*>& found) {
  if (!object.Visible() || !object.Enabled()) return;
  if (object.CanFocus()) found.push_back(&object);
  for (const std::unique_ptr<TvgObject>& child : object.Children()) {
    CollectFocusable(*child, found);
  }
}

bool IsWithin(const TvgObject* object, const TvgObject& ancestor) {
  for (; object; object = object->Parent()) {
    if (object == &ancestor) return true;
  }
  return false;
}

TvgObject* FocusableAtOrAbove(TvgObject* object) {
  for (; object; object = object->Parent()) {
    if (object->CanFocus()) return object;
  }
  return nullptr;
}

TMouseEvent LocalEvent(const TvgObject& object, TPointF scenePoint) {
  const TRectF rect = object.SceneRect();
  return {{scenePoint.x - rect.left, scenePoint.y - rect.top}};
}

}  // namespace

TvgScene::TvgScene() : TvgObject("TvgScene") { SetHitTest(false); }

const TvgStyle* TvgScene::Style(std::string_view name) const {
  if (library_) {
    if (const TvgStyle* style = library_->Style(name)) return style;
  }
  return BuiltInStyle(name);
}

void TvgScene::SetActiveControl(TvgObject* control) {
  if (active_ == control) return;
  active_ = control;
  Invalidated(false);
}

void TvgScene::FocusNext(bool backwards) {
  std::vector<TvgObject*> focusable;
  CollectFocusable(*this, focusable);
  if (focusable.empty()) return;
  if (backwards) std::reverse(focusable.begin(), focusable.end());
  const auto current = std::find(focusable.begin(), focusable.end(), active_);
  if (current == focusable.end() || current + 1 == focusable.end()) {
    SetActiveControl(focusable.front());
  } else {
    SetActiveControl(*(current + 1));
  }
}

void TvgScene::SetSize(float width, float height) {
  SetWidth(width);
  SetHeight(height);
}

void TvgScene::Layout() {
  if (!needsLayout_) return;
  needsLayout_ = false;
  SetBounds({0, 0, Width(), Height()});
  Realign();
}

TvgObject* TvgScene::HitAt(TvgObject& object, TPointF point) {
  if (!object.Visible()) return nullptr;
  const bool inside = object.SceneRect().Contains(point);
  if (inside || !object.ClipChildren()) {
    const auto& children = object.Children();
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
      if (TvgObject* hit = HitAt(**child, point)) return hit;
    }
  }
  return inside && object.HitTest() ? &object : nullptr;
}

TvgObject* TvgScene::ObjectAt(TPointF scenePoint) {
  Layout();
  return HitAt(*this, scenePoint);
}

void TvgScene::MouseDown(TPointF scenePoint) {
  TvgObject* target = ObjectAt(scenePoint);
  pressed_ = nullptr;
  if (!target || !target->EnabledOnScreen()) return;
  pressed_ = target;
  if (TvgObject* focusable = FocusableAtOrAbove(target)) SetActiveControl(focusable);
  target->MouseDown(LocalEvent(*target, scenePoint));
}

void TvgScene::MouseUp(TPointF scenePoint) {
  TvgObject* target = pressed_;
  pressed_ = nullptr;
  if (!target) return;
  const bool inside = IsWithin(ObjectAt(scenePoint), *target) && Usable(*target);
  target->MouseUp(LocalEvent(*target, scenePoint), inside);
}

void TvgScene::MouseMove(TPointF scenePoint) {
  TvgObject* over = ObjectAt(scenePoint);
  if (over == hovered_) return;
  hovered_ = over;
  Invalidated(false);
}

TvgObject* TvgScene::DefaultButton() {
  std::vector<TvgObject*> pending{this};
  while (!pending.empty()) {
    TvgObject* object = pending.back();
    pending.pop_back();
    auto* button = dynamic_cast<TvgButton*>(object);
    if (button && button->IsDefault() && Usable(*button)) return button;
    const auto& children = object->Children();
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
      pending.push_back(child->get());
    }
  }
  return nullptr;
}

bool TvgScene::KeyDown(EKey key) {
  if (key == EKey::Tab || key == EKey::ShiftTab) {
    FocusNext(key == EKey::ShiftTab);
    return true;
  }
  TvgObject* focused = active_ && Usable(*active_) ? active_ : nullptr;
  if (key == EKey::Enter && !dynamic_cast<TvgButton*>(focused)) {
    TvgObject* button = DefaultButton();
    return button && button->KeyDown(EKey::Enter);
  }
  return focused && focused->KeyDown(key);
}

void TvgScene::Invalidated(bool layout) {
  needsPaint_ = true;
  needsLayout_ = needsLayout_ || layout;
}

const TPropertyTable<TvgObject>& TvgScene::StoredProperties() const {
  using P = const TStoredProperty&;
  static const TPropertyTable<TvgObject> table =
      TPropertiesOf<TvgObject, TvgScene>("TvgScene", &TvgObject::StoredProperties())
          .Stored("Style", "the name of a `TvgResources` of the window",
                  [](TvgScene& scene, P p) { scene.styleName_ = p.Reference(); })
          .Stored("ActiveControl", "the name of an object of the scene",
                  [](TvgScene& scene, P p) { scene.activeName_ = p.Reference(); })
          .Table();
  return table;
}

void TvgScene::Loaded(TFormLoadContext& context) {
  if (!styleName_.empty()) {
    auto* library = dynamic_cast<TvgResources*>(context.Object(styleName_));
    if (!library) {
      context.Fail(DescribeObject(*this) + ", property Style: no style library is named '" +
                   styleName_ + "'");
    }
    SetStyleLibrary(library);
  }
  if (!activeName_.empty()) {
    TvgObject* control = Find(activeName_);
    if (!control) {
      context.Fail(DescribeObject(*this) + ", property ActiveControl: no object of the scene is " +
                   "named '" + activeName_ + "'");
    }
    SetActiveControl(control);
  }
}

}  // namespace dbinst
