#include "ui/TvgEffects.h"

#include "ui/PropertyTable.h"

namespace dbinst {

TvgShadowEffect::TvgShadowEffect() : TvgEffect("TvgShadowEffect") { SetHitTest(false); }

namespace {

// An effect's own strength, not the opacity every object has.
float EffectOpacity(const TStoredProperty& property) {
  const float opacity = property.NumberAtLeast(0);
  if (opacity > 1) property.Fail("expected a number from 0 to 1");
  return opacity;
}

}  // namespace

const TPropertyTable<TvgObject>& TvgShadowEffect::StoredProperties() const {
  using P = const TStoredProperty&;
  using S = TvgShadowEffect&;
  static const TPropertyTable<TvgObject> table =
      TPropertiesOf<TvgObject, TvgShadowEffect>("TvgShadowEffect", &TvgObject::StoredProperties())
          .Stored("Distance", "a number (pixels)", [](S s, P p) { s.distance_ = p.Number(); })
          .Stored("Direction", "a number (degrees)", [](S s, P p) { s.direction_ = p.Number(); })
          .Stored("Softness", "a number, at least 0",
                  [](S s, P p) { s.softness_ = p.NumberAtLeast(0); })
          .Stored("Opacity", "a number from 0 to 1: the strength of the shadow",
                  [](S s, P p) { s.opacity_ = EffectOpacity(p); })
          .Stored("ShadowColor", kAColour, [](S s, P p) { s.color_ = p.Color(); })
          .Table();
  return table;
}

TvgReflectionEffect::TvgReflectionEffect() : TvgEffect("TvgReflectionEffect") { SetHitTest(false); }

const TPropertyTable<TvgObject>& TvgReflectionEffect::StoredProperties() const {
  using P = const TStoredProperty&;
  using R = TvgReflectionEffect&;
  static const TPropertyTable<TvgObject> table =
      TPropertiesOf<TvgObject, TvgReflectionEffect>("TvgReflectionEffect",
                                                    &TvgObject::StoredProperties())
          .Stored("Opacity", "a number from 0 to 1: the strength of the reflection",
                  [](R r, P p) { r.opacity_ = EffectOpacity(p); })
          .Stored("Offset", "a number (pixels)", [](R r, P p) { r.offset_ = p.Number(); })
          .Stored("Length", "a number, at least 0: the share of the object reflected",
                  [](R r, P p) { r.length_ = p.NumberAtLeast(0); })
          .Table();
  return table;
}

}  // namespace dbinst
