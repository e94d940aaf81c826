#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "ui/Painter.h"
#include "ui/TvgControls.h"
#include "ui/TvgProgressBar.h"
#include "ui/TvgResources.h"
#include "ui/TvgScene.h"

namespace dbinst {

namespace {

TRectF Inset(TRectF rect, float by) {
  return {rect.left + by, rect.top + by, rect.right - by, rect.bottom - by};
}

std::string ButtonFill(const TvgButton& button) {
  const TvgScene* scene = button.Scene();
  if (button.IsPressed() && scene && scene->Hovered() == &button) return "Fill.Pressed";
  if (scene && scene->Hovered() == &button && button.EnabledOnScreen()) return "Fill.Hot";
  return "Fill.Color";
}

void CirclePath(cairo_t* cr, double x, double y, double radius) {
  cairo_new_path(cr);
  cairo_arc(cr, x, y, radius, 0, 2 * std::numbers::pi);
}

}  // namespace

void TvgButton::Paint(cairo_t* cr) const {
  const TvgStyle& style = StyleOf(*this, "buttonstyle");
  PaintWithOpacity(cr, DisabledOpacity(*this, style), [&] {
    const TRectF rect = LocalRect();
    const float radius = style.Number("CornerRadius", 3);
    const std::string fill = ButtonFill(*this);
    RoundedRectPath(cr, rect, radius);
    const TAlphaColor top = style.Color(fill, style.Color("Fill.Color", 0xFFF0F0F0));
    FillVertical(cr, rect, top, style.Color(fill + "2", top));
    const TAlphaColor border = default_ ? ColorOrAccent(*this, style, "Stroke.Default")
                                        : style.Color("Stroke.Color", 0xFF909090);
    StrokeRoundedRect(cr, rect, radius, border);
    if (focusEffect_ && HasFocus(*this)) {
      StrokeRoundedRect(cr, Inset(rect, 2), radius - 1, ColorOrAccent(*this, style, "Focus.Color"));
    }
    TTextLook look;
    look.font = font_;
    look.color = style.Color("Text.Color", kColorBlack);
    look.horz = ETextAlign::Center;
    const float shift = pressed_ ? 1.0f : 0.0f;
    DrawText(cr, {4, shift, rect.right - 4, rect.bottom + shift}, text_, look);
  });
}

void TvgRadioButton::Paint(cairo_t* cr) const {
  const TvgStyle& style = StyleOf(*this, "radiobuttonstyle");
  PaintWithOpacity(cr, DisabledOpacity(*this, style), [&] {
    const float size = std::clamp(style.Number("Size", 13), 4.0f, 64.0f);
    const double radius = size / 2 - 0.5;
    const double x = size / 2, y = Height() / 2;
    const TRectF box{0, static_cast<float>(y - size / 2), size, static_cast<float>(y + size / 2)};
    CirclePath(cr, x, y, radius);
    FillWithStyle(cr, box, style, "Fill.Color", 0xFFFFFFFF);
    CirclePath(cr, x, y, radius);
    SetSourceColor(cr, style.Color("Stroke.Color", 0xFF808080));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    if (checked_) {
      CirclePath(cr, x, y, size * 0.27);
      SetSourceColor(cr, ColorOrAccent(*this, style, "Check.Color"));
      cairo_fill(cr);
    }
    if (HasFocus(*this)) {
      CirclePath(cr, x, y, radius + 1.5);
      SetSourceColor(cr, ColorOrAccent(*this, style, "Focus.Color") & 0x80FFFFFF);
      cairo_stroke(cr);
    }
    TTextLook look;
    look.font = font_;
    look.color = style.Color("Text.Color", kColorBlack);
    const float textLeft = size + style.Number("Spacing", 6);
    DrawText(cr, {textLeft, 0, Width(), Height()}, text_, look);
  });
}

void TvgGroupBox::Paint(cairo_t* cr) const {
  const TvgStyle& style = StyleOf(*this, "groupboxstyle");
  const TPointF title = text_.empty() ? TPointF{} : MeasureText(cr, text_, font_);
  const TRectF frame{0, std::floor(title.y / 2), Width(), Height()};
  const float radius = style.Number("CornerRadius", 4);
  RoundedRectPath(cr, frame, radius);
  FillWithStyle(cr, frame, style, "Fill.Color", 0);
  const float indent = style.Number("Title.Indent", 10);
  const TRectF titleRect{indent, 0, std::min(indent + title.x + 8, Width() - indent), title.y};
  cairo_save(cr);
  if (!text_.empty()) {
    // The frame's line stops short of the title on both sides.
    cairo_rectangle(cr, 0, 0, Width(), Height());
    cairo_rectangle(cr, titleRect.left, titleRect.top, titleRect.Width(), titleRect.Height());
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr);
  }
  StrokeRoundedRect(cr, frame, radius, style.Color("Stroke.Color", 0xFFB0B0B0));
  cairo_restore(cr);
  TTextLook look;
  look.font = font_;
  look.color = style.Color("Text.Color", kColorBlack);
  DrawText(cr, {titleRect.left + 4, 0, titleRect.right, title.y}, text_, look);
}

void TvgProgressBar::Paint(cairo_t* cr) const {
  const TvgStyle& style = StyleOf(*this, "progressbarstyle");
  const TRectF rect = LocalRect();
  const float radius = style.Number("CornerRadius", 2);
  RoundedRectPath(cr, rect, radius);
  FillWithStyle(cr, rect, style, "Fill.Color", 0xFFE4E4E4);
  StrokeRoundedRect(cr, rect, radius, style.Color("Stroke.Color", 0xFFA0A0A0));
  const float range = max_ - min_;
  // A zero, negative or broken range shows nothing done rather than dividing by it.
  if (!(range > 0) || !std::isfinite(range)) return;
  const float done = std::clamp((value_ - min_) / range, 0.0f, 1.0f);
  if (!(done > 0)) return;
  const TRectF inner = Inset(rect, 1);
  TRectF bar = inner;
  if (orientation_ == EOrientation::Horizontal) {
    bar.right = inner.left + inner.Width() * done;
  } else {
    bar.top = inner.bottom - inner.Height() * done;
  }
  RoundedRectPath(cr, bar, radius - 1);
  FillWithStyle(cr, bar, style, "Bar.Color", AccentColor(*this));
}

}  // namespace dbinst
