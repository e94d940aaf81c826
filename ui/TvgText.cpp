#include "ui/TvgText.h"

#include "ui/StoredProperties.h"

namespace dbinst {
namespace {

ETextAlign TextAlignOf(const TStoredProperty& property) {
  return property.Enum<ETextAlign>({{"vgTextAlignNear", ETextAlign::Near},
                                    {"vgTextAlignCenter", ETextAlign::Center},
                                    {"vgTextAlignFar", ETextAlign::Far}});
}

}  // namespace

TvgText::TvgText() : TvgObject("TvgText") { SetHitTest(false); }

void TvgText::SetText(std::string_view text) {
  if (text_ == text) return;
  text_ = std::string(text);
  Invalidate();
}

void TvgText::SetTextColor(TAlphaColor color) {
  if (color_ == color) return;
  color_ = color;
  Invalidate();
}

void TvgText::SetTextBold(bool bold) {
  if (font_.bold == bold) return;
  font_.bold = bold;
  Invalidate();
}

void TvgText::SetFont(TFont font) {
  font_ = std::move(font);
  Invalidate();
}

bool TvgText::LoadProperty(const TFormProperty& stored, TFormLoadContext& context) {
  const TStoredProperty property(*this, stored, context);
  if (LoadFontProperty(font_, property)) return true;
  if (property.Is("Text")) {
    text_ = property.Text();
  } else if (property.Is("Fill.Color")) {
    color_ = property.Color();
  } else if (property.Is("HorzTextAlign")) {
    horzAlign_ = TextAlignOf(property);
  } else if (property.Is("VertTextAlign")) {
    vertAlign_ = TextAlignOf(property);
  } else if (property.Is("WordWrap")) {
    wordWrap_ = property.Bool();
  } else {
    return TvgObject::LoadProperty(stored, context);
  }
  return true;
}

}  // namespace dbinst
