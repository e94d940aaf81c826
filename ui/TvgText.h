#pragma once

#include <string>
#include <string_view>

#include "ui/TvgObject.h"

namespace dbinst {

enum class ETextAlign { Near, Center, Far };

struct TFont {
  std::string family = "Microsoft Sans Serif";
  float size = 11;  // points at 96 dots per inch, as the layouts give them
  bool bold = false;
  bool italic = false;
};

// A text block: one font, one colour, aligned within its rectangle, wrapped at words if asked.
class TvgText : public TvgObject {
 public:
  TvgText();

  std::string Text() const override { return text_; }
  virtual void SetText(std::string_view text);
  TAlphaColor TextColor() const override { return color_; }
  void SetTextColor(TAlphaColor color);
  bool TextBold() const override { return font_.bold; }
  void SetTextBold(bool bold);
  const TFont& Font() const { return font_; }
  void SetFont(TFont font);
  ETextAlign HorzTextAlign() const { return horzAlign_; }
  ETextAlign VertTextAlign() const { return vertAlign_; }
  bool WordWrap() const { return wordWrap_; }

  const TPropertyTable<TvgObject>& StoredProperties() const override;
  void Paint(cairo_t* cr) const override;

 private:
  std::string text_;
  TAlphaColor color_ = kColorBlack;
  TFont font_;
  ETextAlign horzAlign_ = ETextAlign::Center;
  ETextAlign vertAlign_ = ETextAlign::Center;
  bool wordWrap_ = true;
};

}  // namespace dbinst
