#include <cairo.h>

#include <algorithm>

#include "ui/Painter.h"
#include "ui/TvgResources.h"
#include "ui/TvgTabControl.h"
#include "ui/TvgTreeView.h"

namespace dbinst {

namespace {

void DrawCheckMark(cairo_t* cr, TRectF box, TAlphaColor color) {
  const float w = box.Width(), h = box.Height();
  cairo_new_path(cr);
  cairo_move_to(cr, box.left + w * 0.22, box.top + h * 0.52);
  cairo_line_to(cr, box.left + w * 0.42, box.top + h * 0.72);
  cairo_line_to(cr, box.left + w * 0.78, box.top + h * 0.28);
  cairo_set_line_width(cr, std::max(1.5f, w / 7));
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  SetSourceColor(cr, color);
  cairo_stroke(cr);
}

void DrawCheckBox(cairo_t* cr, const TvgObject& owner, TRectF box, bool checked) {
  const TvgStyle& style = NamedStyle(owner, "checkboxstyle");
  const float radius = style.Number("CornerRadius", 2);
  RoundedRectPath(cr, box, radius);
  FillWithStyle(cr, box, style, "Fill.Color", 0xFFFFFFFF);
  StrokeRoundedRect(cr, box, radius, style.Color("Stroke.Color", 0xFF808080));
  if (checked) DrawCheckMark(cr, box, ColorOrAccent(owner, style, "Check.Color"));
}

}  // namespace

void TvgTreeView::Paint(cairo_t* cr) const {
  const TvgStyle& style = StyleOf(*this, "treeviewstyle");
  PaintWithOpacity(cr, DisabledOpacity(*this, style), [&] {
    const TRectF rect = LocalRect();
    const float radius = style.Number("CornerRadius", 2);
    RoundedRectPath(cr, rect, radius);
    SetSourceColor(cr, style.Color("Fill.Color", 0xFFFFFFFF));
    cairo_fill(cr);
    const TAlphaColor border = HasFocus(*this) ? ColorOrAccent(*this, style, "Focus.Color")
                                               : style.Color("Stroke.Color", 0xFFA0A0A0);
    StrokeRoundedRect(cr, rect, radius, border);
  });
}

void TvgTreeViewItem::Paint(cairo_t* cr) const {
  const TvgTreeView* tree = TreeView();
  const TvgObject& owner = tree ? static_cast<const TvgObject&>(*tree) : *this;
  const TvgStyle& style = StyleOf(owner, "treeviewstyle");
  PaintWithOpacity(cr, DisabledOpacity(*this, style), [&] {
    const TRectF row = LocalRect();
    const bool selected = IsSelected();
    if (selected) {
      cairo_rectangle(cr, 1, 0, std::max(0.0f, row.Width() - 2), row.Height());
      SetSourceColor(cr, ColorOrAccent(owner, style, "Selection.Color"));
      cairo_fill(cr);
    }
    float textLeft = 4;
    if (tree && tree->ShowCheckboxes()) {
      const TRectF box = CheckBoxRect();
      DrawCheckBox(cr, owner, box, checked_);
      textLeft = box.right + 5;
    }
    TTextLook look;
    look.font.size = style.Number("Font.Size", 12);
    look.color = selected ? style.Color("Selection.Text", 0xFFFFFFFF)
                          : style.Color("Text.Color", kColorBlack);
    DrawText(cr, {textLeft, 0, row.right - 2, row.bottom}, text_, look);
  });
}

void TvgTabControl::Paint(cairo_t* cr) const {
  const TvgStyle& style = StyleOf(*this, "tabcontrolstyle");
  const TRectF rect = LocalRect();
  cairo_rectangle(cr, 0, 0, rect.Width(), rect.Height());
  FillWithStyle(cr, rect, style, "Fill.Color", 0xFFF7F8F9);
  StrokeRoundedRect(cr, rect, 0, style.Color("Stroke.Color", 0));
}

void TvgTabItem::Paint(cairo_t* cr) const {
  const TvgStyle& style = StyleOf(*this, "tabitemstyle");
  const auto* control = dynamic_cast<const TvgTabControl*>(Parent());
  const bool selected = control && control->Selected() == this;
  const TRectF rect = LocalRect();
  // Rounded at the top only: the shape runs on below the header, which clips it.
  cairo_save(cr);
  cairo_rectangle(cr, 0, 0, rect.right, rect.bottom);
  cairo_clip(cr);
  RoundedRectPath(cr, {0, 0, rect.right, rect.bottom + 3}, 3);
  SetSourceColor(cr, selected ? style.Color("Fill.Selected", 0xFFF7F8F9)
                              : style.Color("Fill.Color", 0xFFE6E8EB));
  cairo_fill(cr);
  StrokeRoundedRect(cr, {0, 0, rect.right, rect.bottom + 3}, 3, style.Color("Stroke.Color", 0));
  cairo_restore(cr);
  // Headers squeezed to a sliver (the windows hide theirs that way) carry no text.
  if (rect.Height() < 8) return;
  TTextLook look;
  look.font.size = style.Number("Font.Size", 11);
  look.color = style.Color("Text.Color", kColorBlack);
  look.horz = ETextAlign::Center;
  DrawText(cr, rect, text_, look);
}

}  // namespace dbinst
