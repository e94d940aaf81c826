#include <cairo.h>

#include <cmath>

#include "ui/Painter.h"
#include "ui/TvgEffects.h"
#include "ui/TvgScene.h"

namespace dbinst {

namespace {

// An offscreen picture for effects larger than this is skipped: the object draws without them.
constexpr double kMaxEffectPixels = 8192;

void PaintObject(cairo_t* cr, const TvgObject& object, float scale);

bool IsEffect(const TvgObject& object) { return dynamic_cast<const TvgEffect*>(&object); }

bool HasShownEffects(const TvgObject& object) {
  for (const auto& child : object.Children()) {
    if (child->Visible() && IsEffect(*child)) return true;
  }
  return false;
}

void PaintContent(cairo_t* cr, const TvgObject& object, float scale) {
  cairo_save(cr);
  object.Paint(cr);
  cairo_restore(cr);
  cairo_save(cr);
  if (object.ClipChildren()) {
    cairo_rectangle(cr, 0, 0, object.Width(), object.Height());
    cairo_clip(cr);
  }
  const TRectF origin = object.SceneRect();
  for (const auto& child : object.Children()) {
    if (!child->Visible() || IsEffect(*child)) continue;
    const TRectF rect = child->SceneRect();
    cairo_save(cr);
    cairo_translate(cr, rect.left - origin.left, rect.top - origin.top);
    PaintObject(cr, *child, scale);
    cairo_restore(cr);
  }
  cairo_restore(cr);
}

void PaintWithEffects(cairo_t* cr, const TvgObject& object, float scale) {
  const double pixelsWide = std::ceil(object.Width() * scale);
  const double pixelsHigh = std::ceil(object.Height() * scale);
  if (!(pixelsWide >= 1 && pixelsHigh >= 1) || pixelsWide > kMaxEffectPixels ||
      pixelsHigh > kMaxEffectPixels) {
    PaintContent(cr, object, scale);
    return;
  }
  cairo_surface_t* picture = cairo_image_surface_create(
      CAIRO_FORMAT_ARGB32, static_cast<int>(pixelsWide), static_cast<int>(pixelsHigh));
  cairo_surface_set_device_scale(picture, scale, scale);
  cairo_t* pictureCr = cairo_create(picture);
  PaintContent(pictureCr, object, scale);
  cairo_destroy(pictureCr);
  cairo_surface_flush(picture);
  for (const auto& child : object.Children()) {
    const auto* effect = dynamic_cast<const TvgEffect*>(child.get());
    if (!effect || !effect->Visible()) continue;
    cairo_save(cr);
    effect->PaintBehind(cr, picture);
    cairo_restore(cr);
  }
  cairo_set_source_surface(cr, picture, 0, 0);
  cairo_paint(cr);
  cairo_surface_destroy(picture);
}

void PaintObject(cairo_t* cr, const TvgObject& object, float scale) {
  PaintWithOpacity(cr, object.Opacity(), [&] {
    if (HasShownEffects(object)) {
      PaintWithEffects(cr, object, scale);
    } else {
      PaintContent(cr, object, scale);
    }
  });
}

}  // namespace

void TvgScene::Paint(cairo_t* cr, float scale) {
  Layout();
  const float drawScale = std::isfinite(scale) && scale > 0 ? scale : 1.0f;
  cairo_save(cr);
  cairo_scale(cr, drawScale, drawScale);
  if (Visible()) PaintObject(cr, *this, drawScale);
  cairo_restore(cr);
  needsPaint_ = false;
}

}  // namespace dbinst
