#include "ui/TvgProgressBar.h"

#include "ui/PropertyTable.h"

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

const TPropertyTable<TvgObject>& TvgProgressBar::StoredProperties() const {
  using P = const TStoredProperty&;
  using B = TvgProgressBar&;
  using C = const TvgProgressBar&;
  static const TPropertyTable<TvgObject> table =
      TPropertiesOf<TvgObject, TvgProgressBar>("TvgProgressBar", &TvgObject::StoredProperties())
          .Stored("Min", "a number", [](B b, P p) { b.min_ = p.Number(); })
          .Dumped("min", [](C b, JsonWriter& json) { json.Number(b.Min()); })
          .Stored("Max", "a number", [](B b, P p) { b.max_ = p.Number(); })
          .Dumped("max", [](C b, JsonWriter& json) { json.Number(b.Max()); })
          .Stored("Value", "a number", [](B b, P p) { b.value_ = p.Number(); })
          .Dumped("value", [](C b, JsonWriter& json) { json.Number(b.Value()); })
          .Enum<EOrientation>(
              "Orientation",
              {{"vgHorizontal", EOrientation::Horizontal}, {"vgVertical", EOrientation::Vertical}},
              [](B b, EOrientation orientation) { b.orientation_ = orientation; })
          .Table();
  return table;
}

}  // namespace dbinst
