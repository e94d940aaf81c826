#include "ui/TvgShapes.h"

#include <stdexcept>

#include "platform/Text.h"
#include "ui/StoredProperties.h"
#include "ui/TPicture.h"

namespace dbinst {
namespace {

TGradientStop GradientStopOf(const TvgObject& owner, const TFormCollectionItem& item,
                             TFormLoadContext& context) {
  TGradientStop stop;
  for (const TFormProperty& stored : item.properties) {
    const TFormProperty named{"Fill.Gradient.Points." + stored.name, stored.value};
    const TStoredProperty property(owner, named, context);
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

bool TvgRectangle::LoadProperty(const TFormProperty& stored, TFormLoadContext& context) {
  const TStoredProperty property(*this, stored, context);
  if (property.Is("Fill.Color")) {
    fill_ = property.Color();
  } else if (property.Is("Fill.Kind")) {
    fillKind_ = property.Enum<EBrushKind>(
        {{"vgBrushSolid", EBrushKind::Solid}, {"vgBrushGradient", EBrushKind::Gradient}});
  } else if (property.Is("Fill.Gradient.Points")) {
    stops_.clear();
    for (const TFormCollectionItem& item : property.Collection()) {
      stops_.push_back(GradientStopOf(*this, item, context));
    }
  } else if (property.Is("Stroke.Color")) {
    stroke_ = property.Color();
  } else if (property.Is("CornerRadius")) {
    cornerRadius_ = property.NumberAtLeast(0);
  } else {
    return TvgObject::LoadProperty(stored, context);
  }
  return true;
}

TvgImage::TvgImage() : TvgObject("TvgImage") { SetHitTest(false); }

void TvgImage::SetPicture(std::shared_ptr<const TPicture> picture) {
  if (picture_ == picture) return;
  picture_ = std::move(picture);
  Invalidate();
}

bool TvgImage::LoadProperty(const TFormProperty& stored, TFormLoadContext& context) {
  const TStoredProperty property(*this, stored, context);
  if (property.Is("Bitmap.Picture")) {
    const std::string& fileBytes = property.Binary();
    try {
      picture_ = TPicture::Decode(fileBytes);
    } catch (const std::runtime_error& error) {
      property.Fail(error.what());
    }
  } else if (property.Is("WrapMode")) {
    wrap_ = property.Enum<EImageWrap>({{"vgImageStretch", EImageWrap::Stretch},
                                       {"vgImageFit", EImageWrap::Fit},
                                       {"vgImageOriginal", EImageWrap::Original}});
  } else {
    return TvgObject::LoadProperty(stored, context);
  }
  return true;
}

}  // namespace dbinst
