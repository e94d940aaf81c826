#include "ui/TvgShapes.h"

#include <stdexcept>

#include "platform/Text.h"
#include "ui/PropertyTable.h"
#include "ui/TPicture.h"

namespace dbinst {
namespace {

// A point of the gradient, named in messages as a property of its own.
TGradientStop GradientStopOf(const TStoredProperty& points, const TFormCollectionItem& item) {
  TGradientStop stop;
  for (const TFormProperty& stored : item.properties) {
    const TFormProperty named{"Fill.Gradient.Points." + stored.name, stored.value};
    const TStoredProperty property(points.Owner(), named, points.Context());
    if (EqualsNoCase(stored.name, "Color")) {
      stop.color = property.Color();
    } else if (EqualsNoCase(stored.name, "Offset")) {
      stop.offset = property.Number();
      if (stop.offset < 0 || stop.offset > 1) property.Fail("expected a number from 0 to 1");
    } else {
      property.Fail("unknown property of a gradient point");
    }
  }
  return stop;
}

}  // namespace

TvgLayout::TvgLayout() : TvgObject("TvgLayout") { SetHitTest(false); }

TvgBackground::TvgBackground() : TvgObject("TvgBackground") {}

TvgRectangle::TvgRectangle() : TvgObject("TvgRectangle") {}

const TPropertyTable<TvgObject>& TvgRectangle::StoredProperties() const {
  using P = const TStoredProperty&;
  using R = TvgRectangle&;
  static const TPropertyTable<TvgObject> table =
      TPropertiesOf<TvgObject, TvgRectangle>("TvgRectangle", &TvgObject::StoredProperties())
          .Stored("Fill.Color", kAColour, [](R r, P p) { r.fill_ = p.Color(); })
          .Enum<EBrushKind>(
              "Fill.Kind",
              {{"vgBrushSolid", EBrushKind::Solid}, {"vgBrushGradient", EBrushKind::Gradient}},
              [](R r, EBrushKind kind) { r.fillKind_ = kind; })
          .Stored("Fill.Gradient.Points",
                  "a collection of items with `Color` (a colour) and `Offset` (0 to 1)",
                  [](R r, P p) {
                    r.stops_.clear();
                    for (const TFormCollectionItem& item : p.Collection()) {
                      r.stops_.push_back(GradientStopOf(p, item));
                    }
                  })
          .Stored("Stroke.Color", kAColour, [](R r, P p) { r.stroke_ = p.Color(); })
          .Stored("CornerRadius", "a number, at least 0",
                  [](R r, P p) { r.cornerRadius_ = p.NumberAtLeast(0); })
          .Table();
  return table;
}

TvgImage::TvgImage() : TvgObject("TvgImage") { SetHitTest(false); }

void TvgImage::SetPicture(std::shared_ptr<const TPicture> picture) {
  if (picture_ == picture) return;
  picture_ = std::move(picture);
  Invalidate();
}

const TPropertyTable<TvgObject>& TvgImage::StoredProperties() const {
  using P = const TStoredProperty&;
  static const TPropertyTable<TvgObject> table =
      TPropertiesOf<TvgObject, TvgImage>("TvgImage", &TvgObject::StoredProperties())
          .Stored("Bitmap.Picture", "a binary block holding a PNG or JPEG file",
                  [](TvgImage& image, P p) {
                    const std::string& fileBytes = p.Binary();
                    try {
                      image.picture_ = TPicture::Decode(fileBytes);
                    } catch (const std::runtime_error& error) {
                      p.Fail(error.what());
                    }
                  })
          .Enum<EImageWrap>("WrapMode",
                            {{"vgImageStretch", EImageWrap::Stretch},
                             {"vgImageFit", EImageWrap::Fit},
                             {"vgImageOriginal", EImageWrap::Original}},
                            [](TvgImage& image, EImageWrap wrap) { image.wrap_ = wrap; })
          .Table();
  return table;
}

}  // namespace dbinst
