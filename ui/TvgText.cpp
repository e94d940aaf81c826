#include "ui/TvgText.h"

#include "ui/PropertyTable.h"

namespace dbinst {
namespace {

const std::vector<std::pair<std::string_view, ETextAlign>> kTextAligns = {
    {"vgTextAlignNear", ETextAlign::Near},
    {"vgTextAlignCenter", ETextAlign::Center},
    {"vgTextAlignFar", ETextAlign::Far}};

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

const TPropertyTable<TvgObject>& TvgText::StoredProperties() const {
  using P = const TStoredProperty&;
  using T = TvgText&;
  static const TPropertyTable<TvgObject> table =
      TPropertiesOf<TvgObject, TvgText>("TvgText", &TvgObject::StoredProperties())
          .Stored("Text", kAString, [](T t, P p) { t.text_ = p.Text(); })
          .Font(&TvgText::font_)
          .Stored("Fill.Color", kAColour, [](T t, P p) { t.color_ = p.Color(); })
          .Enum<ETextAlign>("HorzTextAlign", kTextAligns,
                            [](T t, ETextAlign align) { t.horzAlign_ = align; })
          .Enum<ETextAlign>("VertTextAlign", kTextAligns,
                            [](T t, ETextAlign align) { t.vertAlign_ = align; })
          .Stored("WordWrap", kTrueOrFalse, [](T t, P p) { t.wordWrap_ = p.Bool(); })
          .Table();
  return table;
}

}  // namespace dbinst
