#pragma once

#include "ui/TvgObject.h"

namespace dbinst {

enum class EOrientation { Horizontal, Vertical };

// A bar filled from the minimum to the value, in single precision as it keeps them.
class TvgProgressBar : public TvgObject {
 public:
  TvgProgressBar();

  float Min() const { return min_; }
  float Max() const { return max_; }
  float Value() const { return value_; }
  virtual void SetMin(float min);
  virtual void SetMax(float max);
  virtual void SetValue(float value);
  EOrientation Orientation() const { return orientation_; }

  const TPropertyTable<TvgObject>& StoredProperties() const override;
  void Paint(cairo_t* cr) const override;

 private:
  float min_ = 0.0f;
  float max_ = 100.0f;
  float value_ = 0.0f;
  EOrientation orientation_ = EOrientation::Horizontal;
};

}  // namespace dbinst
