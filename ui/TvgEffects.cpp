#include "ui/TvgEffects.h"

#include "ui/StoredProperties.h"

namespace dbinst {

TvgShadowEffect::TvgShadowEffect() : TvgEffect("TvgShadowEffect") { SetHitTest(false); }

bool TvgShadowEffect::LoadProperty(const TFormProperty& stored, TFormLoadContext& context) {
  const TStoredProperty property(*this, stored, context);
  if (property.Is("Distance")) {
    distance_ = property.Number();
  } else if (property.Is("Direction")) {
    direction_ = property.Number();
  } else if (property.Is("Softness")) {
    softness_ = property.NumberAtLeast(0);
  } else if (property.Is("Opacity")) {
    // The shadow's own strength, not the opacity every object has.
    opacity_ = property.NumberAtLeast(0);
    if (opacity_ > 1) property.Fail("expected a number from 0 to 1");
  } else if (property.Is("ShadowColor")) {
    color_ = property.Color();
  } else {
    return TvgObject::LoadProperty(stored, context);
  }
  return true;
}

TvgReflectionEffect::TvgReflectionEffect() : TvgEffect("TvgReflectionEffect") { SetHitTest(false); }

bool TvgReflectionEffect::LoadProperty(const TFormProperty& stored, TFormLoadContext& context) {
  const TStoredProperty property(*this, stored, context);
  if (property.Is("Opacity")) {
    opacity_ = property.NumberAtLeast(0);
    if (opacity_ > 1) property.Fail("expected a number from 0 to 1");
  } else if (property.Is("Offset")) {
    offset_ = property.Number();
  } else if (property.Is("Length")) {
    length_ = property.NumberAtLeast(0);
  } else {
    return TvgObject::LoadProperty(stored, context);
  }
  return true;
}

}  // namespace dbinst
