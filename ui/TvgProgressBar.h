#pragma once

namespace dbinst {

// A progress bar's range and position, in single precision as the toolkit keeps them.
class TvgProgressBar {
 public:
  virtual ~TvgProgressBar() = default;

  float Min() const { return min_; }
  float Max() const { return max_; }
  float Value() const { return value_; }
  virtual void SetMin(float min) { min_ = min; }
  virtual void SetMax(float max) { max_ = max; }
  virtual void SetValue(float value) { value_ = value; }

 private:
  float min_ = 0.0f;
  float max_ = 100.0f;
  float value_ = 0.0f;
};

}  // namespace dbinst
