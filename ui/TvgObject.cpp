#include "ui/TvgObject.h"

#include <algorithm>
#include <cmath>

#include "platform/Text.h"
#include "ui/PropertyTable.h"
#include "ui/TvgScene.h"

namespace dbinst {
namespace {

float ValidSize(float size) { return std::isfinite(size) ? std::max(size, 0.0f) : 0.0f; }

bool SameBounds(const TBounds& a, const TBounds& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// An aligned child never gets a negative size, however small its parent becomes.
TRectF Normalized(TRectF rect) {
  rect.right = std::max(rect.right, rect.left);
  rect.bottom = std::max(rect.bottom, rect.top);
  return rect;
}

}  // namespace

void RaiseEvent(const TNotifyEvent& event, TvgObject& sender) {
  const TNotifyEvent handler = event;
  if (handler) handler(sender);
}

TvgObject::TvgObject(std::string className) : className_(std::move(className)) {}

TvgObject::~TvgObject() = default;

TvgObject& TvgObject::AddChild(std::unique_ptr<TvgObject> child) {
  child->parent_ = this;
  children_.push_back(std::move(child));
  InvalidateLayout();
  return *children_.back();
}

TvgObject* TvgObject::Find(std::string_view name) {
  if (name.empty()) return nullptr;
  if (EqualsNoCase(name_, name)) return this;
  for (const std::unique_ptr<TvgObject>& child : children_) {
    if (TvgObject* found = child->Find(name)) return found;
  }
  return nullptr;
}

TvgScene* TvgObject::Scene() const {
  for (const TvgObject* object = this; object; object = object->parent_) {
    if (auto* scene = dynamic_cast<const TvgScene*>(object)) return const_cast<TvgScene*>(scene);
  }
  return nullptr;
}

void TvgObject::SetAlign(EAlign align) {
  if (align_ == align) return;
  align_ = align;
  InvalidateLayout();
}

void TvgObject::SetPosition(TPointF position) {
  if (!std::isfinite(position.x) || !std::isfinite(position.y)) return;
  if (position_.x == position.x && position_.y == position.y) return;
  position_ = position;
  InvalidateLayout();
}

void TvgObject::SetWidth(float width) {
  width = ValidSize(width);
  if (width_ == width) return;
  width_ = width;
  InvalidateLayout();
}

void TvgObject::SetHeight(float height) {
  height = ValidSize(height);
  if (height_ == height) return;
  height_ = height;
  InvalidateLayout();
}

void TvgObject::SetPadding(TBounds padding) {
  if (SameBounds(padding_, padding)) return;
  padding_ = padding;
  InvalidateLayout();
}

void TvgObject::SetMargins(TBounds margins) {
  if (SameBounds(margins_, margins)) return;
  margins_ = margins;
  InvalidateLayout();
}

void TvgObject::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  InvalidateLayout();
}

void TvgObject::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Invalidate();
}

void TvgObject::SetOpacity(float opacity) {
  opacity = std::isfinite(opacity) ? std::clamp(opacity, 0.0f, 1.0f) : 1.0f;
  if (opacity_ == opacity) return;
  opacity_ = opacity;
  Invalidate();
}

void TvgObject::SetClipChildren(bool clip) {
  if (clipChildren_ == clip) return;
  clipChildren_ = clip;
  Invalidate();
}

void TvgObject::SetStyleLookup(std::string style) {
  if (styleLookup_ == style) return;
  styleLookup_ = std::move(style);
  Invalidate();
}

bool TvgObject::ShownOnScreen() const {
  for (const TvgObject* object = this; object; object = object->parent_) {
    if (!object->visible_) return false;
  }
  return true;
}

bool TvgObject::EnabledOnScreen() const {
  for (const TvgObject* object = this; object; object = object->parent_) {
    if (!object->enabled_) return false;
  }
  return true;
}

TRectF TvgObject::SceneRect() const { return rect_; }

void TvgObject::Invalidate() {
  for (TvgObject* object = this; object; object = object->parent_) {
    if (object->DefersInvalidation(false)) return;
  }
  if (TvgScene* scene = Scene()) scene->Invalidated(false);
}

void TvgObject::InvalidateLayout() {
  for (TvgObject* object = this; object; object = object->parent_) {
    if (object->DefersInvalidation(true)) return;
  }
  if (TvgScene* scene = Scene()) scene->Invalidated(true);
}

TRectF TvgObject::ContentRect() const {
  return Normalized({rect_.left + margins_.left, rect_.top + margins_.top,
                     rect_.right - margins_.right, rect_.bottom - margins_.bottom});
}

void TvgObject::PlaceChild(TvgObject& child, TRectF sceneRect) {
  sceneRect = Normalized(sceneRect);
  child.rect_ = sceneRect;
  child.position_ = {sceneRect.left - rect_.left, sceneRect.top - rect_.top};
  child.width_ = sceneRect.Width();
  child.height_ = sceneRect.Height();
}

void TvgObject::AlignChildren(TRectF area, const TAlignOf& alignOf) {
  const EAlign order[] = {EAlign::Top,   EAlign::Bottom, EAlign::Left,
                          EAlign::Right, EAlign::Client, EAlign::None};
  for (EAlign pass : order) {
    for (const std::unique_ptr<TvgObject>& owned : children_) {
      TvgObject& child = *owned;
      const std::optional<EAlign> align = alignOf(child);
      if (!align || *align != pass) continue;
      const TBounds& p = child.padding_;
      const float w = child.width_;
      const float h = child.height_;
      if (pass == EAlign::None) {
        const TPointF at{rect_.left + child.position_.x, rect_.top + child.position_.y};
        PlaceChild(child, {at.x, at.y, at.x + w, at.y + h});
        continue;
      }
      // Hidden children take no space; they are placed when shown, which lays out again.
      if (!child.visible_) continue;
      switch (pass) {
        case EAlign::Top:
          PlaceChild(child, {area.left + p.left, area.top + p.top, area.right - p.right,
                             area.top + p.top + h});
          area.top += p.top + h + p.bottom;
          break;
        case EAlign::Bottom:
          PlaceChild(child, {area.left + p.left, area.bottom - p.bottom - h, area.right - p.right,
                             area.bottom - p.bottom});
          area.bottom -= p.top + h + p.bottom;
          break;
        case EAlign::Left:
          PlaceChild(child, {area.left + p.left, area.top + p.top, area.left + p.left + w,
                             area.bottom - p.bottom});
          area.left += p.left + w + p.right;
          break;
        case EAlign::Right:
          PlaceChild(child, {area.right - p.right - w, area.top + p.top, area.right - p.right,
                             area.bottom - p.bottom});
          area.right -= p.left + w + p.right;
          break;
        default:
          PlaceChild(child, {area.left + p.left, area.top + p.top, area.right - p.right,
                             area.bottom - p.bottom});
          break;
      }
    }
  }
}

void TvgObject::Realign() {
  AlignChildren(ContentRect(), [](const TvgObject& child) { return child.align_; });
  for (const std::unique_ptr<TvgObject>& child : children_) child->Realign();
}

bool TvgObject::LoadProperty(const TFormProperty& stored, TFormLoadContext& context) {
  return StoredProperties().Load(*this, TStoredProperty(DescribeObject(*this), stored, context));
}

const TPropertyTable<TvgObject>& TvgObject::StoredProperties() const {
  using P = const TStoredProperty&;
  using O = TvgObject&;
  using C = const TvgObject&;
  // One side of Padding or Margins.
  const auto side = [](TBounds TvgObject::*bounds, float TBounds::*edge, bool padding) {
    return [bounds, edge, padding](O o, P p) {
      TBounds changed = o.*bounds;
      changed.*edge = p.Number();
      padding ? o.SetPadding(changed) : o.SetMargins(changed);
    };
  };
  constexpr std::string_view kPadding =
      "a number: space kept free around the object by the parent that aligns it";
  constexpr std::string_view kMargins =
      "a number: space kept free inside the object for its aligned children";
  static const TPropertyTable<TvgObject> table =
      TPropertiesOf<TvgObject>("TvgObject", nullptr)
          .Shown("class", [](C o, JsonWriter& json) { json.String(o.ClassName()); })
          .Shown("text", [](C o, JsonWriter& json) { json.String(o.Text()); })
          .Enum<EAlign>("Align",
                        {{"vaNone", EAlign::None},
                         {"vaTop", EAlign::Top},
                         {"vaBottom", EAlign::Bottom},
                         {"vaLeft", EAlign::Left},
                         {"vaRight", EAlign::Right},
                         {"vaClient", EAlign::Client}},
                        [](O o, EAlign align) { o.SetAlign(align); })
          .Stored("Position.X", "a number (pixels)",
                  [](O o, P p) {
                    o.SetPosition({p.Number(), o.position_.y});
                  })
          .Stored("Position.Y", "a number (pixels)",
                  [](O o, P p) {
                    o.SetPosition({o.position_.x, p.Number()});
                  })
          .Stored("Width", "a number of pixels, at least 0",
                  [](O o, P p) { o.SetWidth(p.NumberAtLeast(0)); })
          .Stored("Height", "a number of pixels, at least 0",
                  [](O o, P p) { o.SetHeight(p.NumberAtLeast(0)); })
          .Stored("Padding.Left", kPadding, side(&TvgObject::padding_, &TBounds::left, true))
          .Stored("Padding.Top", kPadding, side(&TvgObject::padding_, &TBounds::top, true))
          .Stored("Padding.Right", kPadding, side(&TvgObject::padding_, &TBounds::right, true))
          .Stored("Padding.Bottom", kPadding, side(&TvgObject::padding_, &TBounds::bottom, true))
          .Stored("Margins.Left", kMargins, side(&TvgObject::margins_, &TBounds::left, false))
          .Stored("Margins.Top", kMargins, side(&TvgObject::margins_, &TBounds::top, false))
          .Stored("Margins.Right", kMargins, side(&TvgObject::margins_, &TBounds::right, false))
          .Stored("Margins.Bottom", kMargins, side(&TvgObject::margins_, &TBounds::bottom, false))
          .Stored("Visible", kTrueOrFalse, [](O o, P p) { o.SetVisible(p.Bool()); })
          .Dumped("visible", [](C o, JsonWriter& json) { json.Bool(o.Visible()); })
          .Stored("Enabled", kTrueOrFalse, [](O o, P p) { o.SetEnabled(p.Bool()); })
          .Dumped("enabled", [](C o, JsonWriter& json) { json.Bool(o.Enabled()); })
          .Stored("HitTest", kTrueOrFalse, [](O o, P p) { o.SetHitTest(p.Bool()); })
          .Stored("ClipChildren", kTrueOrFalse, [](O o, P p) { o.SetClipChildren(p.Bool()); })
          .Stored("Opacity", "a number from 0 to 1",
                  [](O o, P p) {
                    const float opacity = p.Number();
                    if (opacity < 0 || opacity > 1) p.Fail("expected a number from 0 to 1");
                    o.SetOpacity(opacity);
                  })
          .Dumped("opacity", [](C o, JsonWriter& json) { json.Number(o.Opacity()); })
          .Shown("color", [](C o, JsonWriter& json) { json.String(AlphaColorText(o.TextColor())); })
          .Shown("fontStyle",
                 [](C o, JsonWriter& json) { json.String(o.TextBold() ? "bold" : "regular"); })
          .Stored("StyleLookup", "the name of a style of the scene's style library",
                  [](O o, P p) { o.SetStyleLookup(p.Text()); })
          .Stored("OnClick", kAHandler, [](O o, P p) { o.OnClick = p.Handler(); })
          .Table();
  return table;
}

void TvgObject::Loaded(TFormLoadContext& /*context*/) {}

void TvgObject::MouseDown(const TMouseEvent& /*event*/) {}

void TvgObject::MouseUp(const TMouseEvent& /*event*/, bool inside) {
  if (inside) RaiseEvent(OnClick, *this);
}

bool TvgObject::KeyDown(EKey /*key*/) { return false; }

}  // namespace dbinst
