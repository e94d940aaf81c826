#include <cairo.h>

#include <algorithm>

#include "ui/Painter.h"
#include "ui/TPicture.h"
#include "ui/TvgResources.h"
#include "ui/TvgShapes.h"
#include "ui/TvgText.h"

namespace dbinst {

namespace {

void DrawEdgeLine(cairo_t* cr, float y, float width, TAlphaColor color) {
  if ((color >> 24) == 0) return;
  cairo_rectangle(cr, 0, y, width, 1);
  SetSourceColor(cr, color);
  cairo_fill(cr);
}

}  // namespace

void TvgObject::Paint(cairo_t* /*cr*/) const {}

void TvgBackground::Paint(cairo_t* cr) const {
  const TvgStyle& style = StyleOf(*this, "backgroundstyle");
  const TRectF rect = LocalRect();
  const float radius = style.Number("CornerRadius", 0);
  RoundedRectPath(cr, rect, radius);
  FillWithStyle(cr, rect, style, "Fill.Color", 0xFFF0F1F3);
  StrokeRoundedRect(cr, rect, radius, style.Color("Stroke.Color", 0));
  DrawEdgeLine(cr, 0, rect.Width(), style.Color("Line.Top", 0));
  DrawEdgeLine(cr, rect.bottom - 1, rect.Width(), style.Color("Line.Bottom", 0));
}

void TvgRectangle::Paint(cairo_t* cr) const {
  const TRectF rect = LocalRect();
  RoundedRectPath(cr, rect, cornerRadius_);
  if (fillKind_ == EBrushKind::Gradient && !stops_.empty()) {
    SetVerticalGradient(cr, rect, stops_);
  } else {
    SetSourceColor(cr, fill_);
  }
  cairo_fill(cr);
  StrokeRoundedRect(cr, rect, cornerRadius_, stroke_);
}

void TvgImage::Paint(cairo_t* cr) const {
  if (!picture_ || Width() <= 0 || Height() <= 0) return;
  const double pictureWidth = picture_->Width();
  const double pictureHeight = picture_->Height();
  double scaleX = 1, scaleY = 1, left = 0, top = 0;
  if (wrap_ == EImageWrap::Stretch) {
    scaleX = Width() / pictureWidth;
    scaleY = Height() / pictureHeight;
  } else if (wrap_ == EImageWrap::Fit) {
    scaleX = scaleY = std::min(Width() / pictureWidth, Height() / pictureHeight);
    left = (Width() - pictureWidth * scaleX) / 2;
    top = (Height() - pictureHeight * scaleY) / 2;
  }
  cairo_save(cr);
  cairo_rectangle(cr, 0, 0, Width(), Height());
  cairo_clip(cr);
  cairo_translate(cr, left, top);
  cairo_scale(cr, scaleX, scaleY);
  cairo_set_source_surface(cr, picture_->Surface(), 0, 0);
  cairo_pattern_t* source = cairo_get_source(cr);
  cairo_pattern_set_filter(source, CAIRO_FILTER_GOOD);
  // Padding keeps the edges of a stretched picture from fading into transparency.
  cairo_pattern_set_extend(source, CAIRO_EXTEND_PAD);
  cairo_rectangle(cr, 0, 0, pictureWidth, pictureHeight);
  cairo_fill(cr);
  cairo_restore(cr);
}

void TvgText::Paint(cairo_t* cr) const {
  TTextLook look;
  look.font = font_;
  look.color = color_;
  look.horz = horzAlign_;
  look.vert = vertAlign_;
  look.wordWrap = wordWrap_;
  DrawText(cr, LocalRect(), text_, look);
}

}  // namespace dbinst
