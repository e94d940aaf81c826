#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/AlphaColor.h"
#include "ui/Geometry.h"
#include "ui/TvgShapes.h"
#include "ui/TvgText.h"

typedef struct _cairo cairo_t;

namespace dbinst {

class TvgObject;
class TvgStyle;

// How a text block is set: font, colour and its place within its rectangle.
struct TTextLook {
  TFont font;
  TAlphaColor color = kColorBlack;
  ETextAlign horz = ETextAlign::Near;
  ETextAlign vert = ETextAlign::Center;
  bool wordWrap = false;
};

void SetSourceColor(cairo_t* cr, TAlphaColor color);
// A new path: the rectangle with its corners rounded by radius (clamped to half the shorter side).
void RoundedRectPath(cairo_t* cr, TRectF rect, float radius);
// Sets a vertical linear gradient from the rectangle's top to its bottom through the stops.
void SetVerticalGradient(cairo_t* cr, TRectF rect, const std::vector<TGradientStop>& stops);
// Fills the current path with top at the rectangle's top fading to bottom at its bottom.
void FillVertical(cairo_t* cr, TRectF rect, TAlphaColor top, TAlphaColor bottom);
// A one-unit line along the inside of the rounded rectangle.
void StrokeRoundedRect(cairo_t* cr, TRectF rect, float radius, TAlphaColor color, float width = 1);

// The font families Pango is asked for: the layouts' Windows face, then its look-alikes.
std::string FontFamilyList(const std::string& family);
// The face fontconfig actually picks for the font.
std::string ResolvedFontFamily(const TFont& font);
// Draws text with Pango inside rect; one ellipsized line unless look.wordWrap.
void DrawText(cairo_t* cr, TRectF rect, std::string_view text, const TTextLook& look);
// The size the text takes when set in one line, in scene units.
TPointF MeasureText(cairo_t* cr, std::string_view text, const TFont& font);

// The style an object draws with: the one its StyleLookup names, else its kind's, from the scene's
// library or the built-in ones; an empty style (every fallback) when neither has it.
const TvgStyle& StyleOf(const TvgObject& object, std::string_view kindStyle);
// The style of that name for the object's scene, whatever the object's StyleLookup says.
const TvgStyle& NamedStyle(const TvgObject& object, std::string_view name);
// Fills the current path with the style's Fill.Color fading to its Fill.Color2, or with the pair
// of parameters named prefix and prefix + "2".
void FillWithStyle(cairo_t* cr, TRectF rect, const TvgStyle& style, const std::string& prefix,
                   TAlphaColor fallback);
// The one accent colour of focus, checks, selection and progress: the scene's "commonstyle".
TAlphaColor AccentColor(const TvgObject& object);
// The style's colour parameter, else the accent.
TAlphaColor ColorOrAccent(const TvgObject& object, const TvgStyle& style,
                          std::string_view property);
// 1 for an object enabled on screen; a disabled one fades to its style's Disabled.Opacity, else
// to the one of "commonstyle".
float DisabledOpacity(const TvgObject& object, const TvgStyle& style);
// Whether the object is its scene's active control.
bool HasFocus(const TvgObject& object);
// Draws what paint draws at the given opacity, through a group when below 1.
void PaintWithOpacity(cairo_t* cr, float opacity, const std::function<void()>& paint);

}  // namespace dbinst
