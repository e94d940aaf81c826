#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/TvgObject.h"

namespace dbinst {

class TPicture;

// A plain container; draws nothing.
class TvgLayout : public TvgObject {
 public:
  TvgLayout();
};

// A styled area: draws the style named by StyleLookup (a plain panel without one).
class TvgBackground : public TvgObject {
 public:
  TvgBackground();
  void Paint(cairo_t* cr) const override;
};

struct TGradientStop {
  TAlphaColor color = kColorBlack;
  float offset = 0;
};

enum class EBrushKind { Solid, Gradient };

// A filled rectangle: one colour, or a vertical linear gradient through its stops.
class TvgRectangle : public TvgObject {
 public:
  TvgRectangle();
  const std::vector<TGradientStop>& GradientStops() const { return stops_; }
  EBrushKind FillKind() const { return fillKind_; }
  TAlphaColor FillColor() const { return fill_; }
  TAlphaColor StrokeColor() const { return stroke_; }
  float CornerRadius() const { return cornerRadius_; }
  const TPropertyTable<TvgObject>& StoredProperties() const override;
  void Paint(cairo_t* cr) const override;

 private:
  TAlphaColor fill_ = 0xFFFFFFFF;
  TAlphaColor stroke_ = 0;
  float cornerRadius_ = 0;
  EBrushKind fillKind_ = EBrushKind::Solid;
  std::vector<TGradientStop> stops_;
};

enum class EImageWrap { Stretch, Fit, Original };

// A picture: stretched to the rectangle, or fitted into it keeping its proportions.
class TvgImage : public TvgObject {
 public:
  TvgImage();
  const std::shared_ptr<const TPicture>& Picture() const { return picture_; }
  void SetPicture(std::shared_ptr<const TPicture> picture);
  EImageWrap WrapMode() const { return wrap_; }
  const TPropertyTable<TvgObject>& StoredProperties() const override;
  void Paint(cairo_t* cr) const override;

 private:
  std::shared_ptr<const TPicture> picture_;
  EImageWrap wrap_ = EImageWrap::Fit;
};

}  // namespace dbinst
