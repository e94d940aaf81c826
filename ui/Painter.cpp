#include "ui/Painter.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "platform/Text.h"
#include "ui/BuiltInStyles.h"
#include "ui/TvgResources.h"
#include "ui/TvgScene.h"

namespace dbinst {

namespace {

double Channel(TAlphaColor color, int shift) { return ((color >> shift) & 0xFF) / 255.0; }

void AddStop(cairo_pattern_t* pattern, double offset, TAlphaColor color) {
  cairo_pattern_add_color_stop_rgba(pattern, offset, Channel(color, 16), Channel(color, 8),
                                    Channel(color, 0), Channel(color, 24));
}

struct TPangoFontDeleter {
  void operator()(PangoFontDescription* description) const {
    pango_font_description_free(description);
  }
};
using TFontDescriptionPtr = std::unique_ptr<PangoFontDescription, TPangoFontDeleter>;

struct TGObjectDeleter {
  void operator()(void* object) const { g_object_unref(object); }
};
template <class T>
using TGObjectPtr = std::unique_ptr<T, TGObjectDeleter>;

TFontDescriptionPtr FontDescription(const TFont& font) {
  TFontDescriptionPtr description(pango_font_description_new());
  pango_font_description_set_family(description.get(), FontFamilyList(font.family).c_str());
  // The layouts give sizes in pixels of the scene; Pango scales them with the cairo transform.
  const float pixels = std::clamp(font.size, 1.0f, 1000.0f);
  pango_font_description_set_absolute_size(description.get(), pixels * PANGO_SCALE);
  pango_font_description_set_weight(description.get(),
                                    font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(description.get(),
                                   font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  return description;
}

TGObjectPtr<PangoLayout> MakeLayout(cairo_t* cr, std::string_view text, const TFont& font) {
  TGObjectPtr<PangoLayout> layout(pango_cairo_create_layout(cr));
  // Metrics that do not snap to the device grid keep a text's size the same at every scale.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  pango_cairo_context_set_font_options(pango_layout_get_context(layout.get()), options);
  cairo_font_options_destroy(options);
  pango_layout_context_changed(layout.get());
  const TFontDescriptionPtr description = FontDescription(font);
  pango_layout_set_font_description(layout.get(), description.get());
  pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
  return layout;
}

PangoAlignment PangoAlignmentOf(ETextAlign align) {
  switch (align) {
    case ETextAlign::Near:
      return PANGO_ALIGN_LEFT;
    case ETextAlign::Center:
      return PANGO_ALIGN_CENTER;
    case ETextAlign::Far:
      return PANGO_ALIGN_RIGHT;
  }
  return PANGO_ALIGN_LEFT;
}

double VerticalOffset(ETextAlign align, double space, double height) {
  switch (align) {
    case ETextAlign::Near:
      return 0;
    case ETextAlign::Center:
      return (space - height) / 2;
    case ETextAlign::Far:
      return space - height;
  }
  return 0;
}

}  // namespace

void SetSourceColor(cairo_t* cr, TAlphaColor color) {
  cairo_set_source_rgba(cr, Channel(color, 16), Channel(color, 8), Channel(color, 0),
                        Channel(color, 24));
}

void RoundedRectPath(cairo_t* cr, TRectF rect, float radius) {
  const double r = std::clamp<double>(radius, 0, std::min(rect.Width(), rect.Height()) / 2);
  cairo_new_path(cr);
  if (r <= 0) {
    cairo_rectangle(cr, rect.left, rect.top, rect.Width(), rect.Height());
    return;
  }
  cairo_new_sub_path(cr);
  cairo_arc(cr, rect.right - r, rect.top + r, r, -std::numbers::pi / 2, 0);
  cairo_arc(cr, rect.right - r, rect.bottom - r, r, 0, std::numbers::pi / 2);
  cairo_arc(cr, rect.left + r, rect.bottom - r, r, std::numbers::pi / 2, std::numbers::pi);
  cairo_arc(cr, rect.left + r, rect.top + r, r, std::numbers::pi, 3 * std::numbers::pi / 2);
  cairo_close_path(cr);
}

void SetVerticalGradient(cairo_t* cr, TRectF rect, const std::vector<TGradientStop>& stops) {
  cairo_pattern_t* pattern = cairo_pattern_create_linear(0, rect.top, 0, rect.bottom);
  for (const TGradientStop& stop : stops) {
    AddStop(pattern, std::clamp<double>(stop.offset, 0, 1), stop.color);
  }
  cairo_set_source(cr, pattern);
  cairo_pattern_destroy(pattern);
}

void FillVertical(cairo_t* cr, TRectF rect, TAlphaColor top, TAlphaColor bottom) {
  if (top == bottom) {
    SetSourceColor(cr, top);
  } else {
    SetVerticalGradient(cr, rect, {{top, 0}, {bottom, 1}});
  }
  cairo_fill(cr);
}

void StrokeRoundedRect(cairo_t* cr, TRectF rect, float radius, TAlphaColor color, float width) {
  if ((color >> 24) == 0 || width <= 0) return;
  const float inset = width / 2;
  RoundedRectPath(cr,
                  {rect.left + inset, rect.top + inset, rect.right - inset, rect.bottom - inset},
                  radius - inset);
  SetSourceColor(cr, color);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

std::string FontFamilyList(const std::string& family) {
  if (family.empty()) return "sans-serif";
  if (EqualsNoCase(family, "Microsoft Sans Serif")) {
    return "Microsoft Sans Serif,Liberation Sans,Arial,sans-serif";
  }
  return family + ",sans-serif";
}

std::string ResolvedFontFamily(const TFont& font) {
  PangoFontMap* fontMap = pango_cairo_font_map_get_default();
  TGObjectPtr<PangoContext> context(pango_font_map_create_context(fontMap));
  const TFontDescriptionPtr description = FontDescription(font);
  TGObjectPtr<PangoFont> loaded(
      pango_font_map_load_font(fontMap, context.get(), description.get()));
  if (!loaded) return {};
  const TFontDescriptionPtr chosen(pango_font_describe(loaded.get()));
  const char* family = pango_font_description_get_family(chosen.get());
  return family ? family : "";
}

void DrawText(cairo_t* cr, TRectF rect, std::string_view text, const TTextLook& look) {
  if (text.empty() || (look.color >> 24) == 0 || rect.Width() <= 0) return;
  TGObjectPtr<PangoLayout> layout = MakeLayout(cr, text, look.font);
  pango_layout_set_width(layout.get(), static_cast<int>(rect.Width() * PANGO_SCALE));
  if (look.wordWrap) {
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
  } else {
    pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
  }
  pango_layout_set_alignment(layout.get(), PangoAlignmentOf(look.horz));
  PangoRectangle logical;
  pango_layout_get_extents(layout.get(), nullptr, &logical);
  const double height = static_cast<double>(logical.height) / PANGO_SCALE;
  cairo_save(cr);
  cairo_move_to(cr, rect.left, rect.top + VerticalOffset(look.vert, rect.Height(), height));
  SetSourceColor(cr, look.color);
  pango_cairo_show_layout(cr, layout.get());
  cairo_restore(cr);
}

TPointF MeasureText(cairo_t* cr, std::string_view text, const TFont& font) {
  TGObjectPtr<PangoLayout> layout = MakeLayout(cr, text, font);
  PangoRectangle logical;
  pango_layout_get_extents(layout.get(), nullptr, &logical);
  return {static_cast<float>(logical.width) / PANGO_SCALE,
          static_cast<float>(logical.height) / PANGO_SCALE};
}

namespace {

const TvgStyle* FindStyle(const TvgObject& object, std::string_view name) {
  const TvgScene* scene = object.Scene();
  return scene ? scene->Style(name) : BuiltInStyle(name);
}

// What every control shares: the accent colour and how a disabled control fades.
constexpr std::string_view kCommonStyle = "commonstyle";

const TvgStyle& EmptyStyle() {
  static const TvgStyle kEmpty;
  return kEmpty;
}

}  // namespace

const TvgStyle& StyleOf(const TvgObject& object, std::string_view kindStyle) {
  const TvgStyle* style =
      object.StyleLookup().empty() ? nullptr : FindStyle(object, object.StyleLookup());
  if (!style) style = FindStyle(object, kindStyle);
  return style ? *style : EmptyStyle();
}

const TvgStyle& NamedStyle(const TvgObject& object, std::string_view name) {
  const TvgStyle* style = FindStyle(object, name);
  return style ? *style : EmptyStyle();
}

void FillWithStyle(cairo_t* cr, TRectF rect, const TvgStyle& style, const std::string& prefix,
                   TAlphaColor fallback) {
  const TAlphaColor top = style.Color(prefix, fallback);
  FillVertical(cr, rect, top, style.Color(prefix + "2", top));
}

TAlphaColor AccentColor(const TvgObject& object) {
  return NamedStyle(object, kCommonStyle).Color("Accent.Color", kColorBlack);
}

TAlphaColor ColorOrAccent(const TvgObject& object, const TvgStyle& style,
                          std::string_view property) {
  return style.Color(property, AccentColor(object));
}

float DisabledOpacity(const TvgObject& object, const TvgStyle& style) {
  if (object.EnabledOnScreen()) return 1.0f;
  const float fallback = NamedStyle(object, kCommonStyle).Number("Disabled.Opacity", 1.0f);
  return std::clamp(style.Number("Disabled.Opacity", fallback), 0.0f, 1.0f);
}

bool HasFocus(const TvgObject& object) {
  const TvgScene* scene = object.Scene();
  return scene && scene->ActiveControl() == &object;
}

void PaintWithOpacity(cairo_t* cr, float opacity, const std::function<void()>& paint) {
  if (opacity >= 1) {
    paint();
    return;
  }
  if (!(opacity > 0)) return;
  cairo_push_group(cr);
  paint();
  cairo_pop_group_to_source(cr);
  cairo_paint_with_alpha(cr, opacity);
}

}  // namespace dbinst

#if defined(__SANITIZE_ADDRESS__)
// Fontconfig, and under X SDL2 with Xlib, keep caches for the life of the process that they never
// free; the leak checker would report them at every exit of a program that draws or opens a window.
// Kept here because every such program links this file.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:libX11.so\n"
         "leak:libXext.so\n"
         "leak:libXcursor.so\n"
         "leak:libXi.so\n"
         "leak:libXrandr.so\n"
         "leak:libSDL2-2.0.so\n"
         "leak:libdbus-1.so\n";
}
#endif
