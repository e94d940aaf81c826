#include "ui/TvgProgressBar.h"

#include "ui/StoredProperties.h"

namespace dbinst {

TvgProgressBar::TvgProgressBar() : TvgObject("TvgProgressBar") {}

void TvgProgressBar::SetMin(float min) {
  if (min_ == min) return;
  min_ = min;
  Invalidate();
}

void TvgProgressBar::SetMax(float max) {
  if (max_ == max) return;
  max_ = max;
  Invalidate();
}

void TvgProgressBar::SetValue(float value) {
  if (value_ == value) return;
  value_ = value;
  Invalidate();
}

bool TvgProgressBar::LoadProperty(const TFormProperty& stored, TFormLoadContext& context) {
  const TStoredProperty property(*this, stored, context);
  if (property.Is("Min")) {
    min_ = property.Number();
  } else if (property.Is("Max")) {
    max_ = property.Number();
  } else if (property.Is("Value")) {
    value_ = property.Number();
  } else if (property.Is("Orientation")) {
    orientation_ = property.Enum<EOrientation>(
        {{"vgHorizontal", EOrientation::Horizontal}, {"vgVertical", EOrientation::Vertical}});
  } else {
    return TvgObject::LoadProperty(stored, context);
  }
  return true;
}

}  // namespace dbinst
