#pragma once

#include "ui/TvgObject.h"

// Declared here so that the parameters below name Cairo's surface, not one of our namespace.
struct _cairo_surface;

namespace dbinst {

// Effects are children of the object they change; the scene draws them around their parent.
class TvgEffect : public TvgObject {
 public:
  using TvgObject::TvgObject;
  // Draws the parent's already rendered picture (a premultiplied ARGB surface of its size) with
  // the effect into cr, whose origin is the parent's top-left corner; before the parent itself.
  virtual void PaintBehind(cairo_t* cr, struct _cairo_surface* parentPicture) const = 0;
};

// A soft offset shadow cast by the parent's shape.
class TvgShadowEffect : public TvgEffect {
 public:
  TvgShadowEffect();
  float Distance() const { return distance_; }
  float Direction() const { return direction_; }
  float Softness() const { return softness_; }
  float ShadowOpacity() const { return opacity_; }
  TAlphaColor ShadowColor() const { return color_; }
  const TPropertyTable<TvgObject>& StoredProperties() const override;
  void PaintBehind(cairo_t* cr, struct _cairo_surface* parentPicture) const override;

 private:
  float distance_ = 3;
  float direction_ = 45;
  float softness_ = 0.3f;
  float opacity_ = 0.6f;
  TAlphaColor color_ = kColorBlack;
};

// A mirrored, fading copy of the parent below it.
class TvgReflectionEffect : public TvgEffect {
 public:
  TvgReflectionEffect();
  float ReflectionOpacity() const { return opacity_; }
  float Offset() const { return offset_; }
  float Length() const { return length_; }
  const TPropertyTable<TvgObject>& StoredProperties() const override;
  void PaintBehind(cairo_t* cr, struct _cairo_surface* parentPicture) const override;

 private:
  float opacity_ = 0.5f;
  float offset_ = 0;
  float length_ = 0.5f;
};

}  // namespace dbinst
