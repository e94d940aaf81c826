#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "ui/Painter.h"
#include "ui/TvgEffects.h"

namespace dbinst {

namespace {

// Softness 1 blurs over this many scene units.
constexpr float kSoftnessUnits = 10;
constexpr int kMaxBlurRadius = 64;

// One pass of a box blur along rows (step 1) or columns (step stride) of an A8 surface.
void BoxBlurPass(unsigned char* data, int count, int length, int lineStep, int step, int radius) {
  std::vector<unsigned char> line(length);
  const int window = 2 * radius + 1;
  for (int i = 0; i < count; ++i) {
    unsigned char* start = data + static_cast<ptrdiff_t>(i) * lineStep;
    for (int k = 0; k < length; ++k) line[k] = start[static_cast<ptrdiff_t>(k) * step];
    int sum = 0;
    for (int k = 0; k <= radius && k < length; ++k) sum += line[k];
    for (int k = 0; k < length; ++k) {
      start[static_cast<ptrdiff_t>(k) * step] = static_cast<unsigned char>(sum / window);
      if (k + radius + 1 < length) sum += line[k + radius + 1];
      if (k - radius >= 0) sum -= line[k - radius];
    }
  }
}

// Three box passes each way come close to a Gaussian blur.
void BlurAlpha(cairo_surface_t* mask, int radius) {
  if (radius <= 0) return;
  cairo_surface_flush(mask);
  unsigned char* data = cairo_image_surface_get_data(mask);
  const int width = cairo_image_surface_get_width(mask);
  const int height = cairo_image_surface_get_height(mask);
  const int stride = cairo_image_surface_get_stride(mask);
  for (int pass = 0; pass < 3; ++pass) {
    BoxBlurPass(data, height, width, stride, 1, radius);
    BoxBlurPass(data, width, height, 1, stride, radius);
  }
  cairo_surface_mark_dirty(mask);
}

struct TPictureSize {
  int pixelsWide = 0;
  int pixelsHigh = 0;
  double scale = 1;
  double Width() const { return pixelsWide / scale; }
  double Height() const { return pixelsHigh / scale; }
};

TPictureSize SizeOf(cairo_surface_t* picture) {
  TPictureSize size{cairo_image_surface_get_width(picture),
                    cairo_image_surface_get_height(picture)};
  double scaleY = 1;
  cairo_surface_get_device_scale(picture, &size.scale, &scaleY);
  if (!(size.scale > 0)) size.scale = 1;
  return size;
}

}  // namespace

void TvgShadowEffect::PaintBehind(cairo_t* cr, cairo_surface_t* parentPicture) const {
  const float alpha = ((color_ >> 24) / 255.0f) * std::clamp(opacity_, 0.0f, 1.0f);
  if (!(alpha > 0)) return;
  const TPictureSize size = SizeOf(parentPicture);
  const float softness = std::isfinite(softness_) ? std::max(softness_, 0.0f) : 0.0f;
  const int radius = std::min(
      kMaxBlurRadius, static_cast<int>(std::lround(softness * kSoftnessUnits * size.scale)));
  const int pad = 3 * radius;
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, size.pixelsWide + 2 * pad,
                                                     size.pixelsHigh + 2 * pad);
  cairo_surface_set_device_scale(mask, size.scale, size.scale);
  cairo_t* maskCr = cairo_create(mask);
  cairo_set_source_surface(maskCr, parentPicture, pad / size.scale, pad / size.scale);
  cairo_paint(maskCr);
  cairo_destroy(maskCr);
  BlurAlpha(mask, radius);
  const double angle = direction_ * std::numbers::pi / 180;
  const double distance = std::isfinite(distance_) ? distance_ : 0;
  SetSourceColor(cr, (color_ & 0x00FFFFFF) | (static_cast<TAlphaColor>(alpha * 255 + 0.5f) << 24));
  cairo_mask_surface(cr, mask, distance * std::cos(angle) - pad / size.scale,
                     distance * std::sin(angle) - pad / size.scale);
  cairo_surface_destroy(mask);
}

void TvgReflectionEffect::PaintBehind(cairo_t* cr, cairo_surface_t* parentPicture) const {
  const double opacity = std::clamp(opacity_, 0.0f, 1.0f);
  const TPictureSize size = SizeOf(parentPicture);
  const double height = size.Height();
  const double fade = std::min(1.0f, std::max(length_, 0.0f)) * height;
  if (!(opacity > 0) || !(fade > 0) || !std::isfinite(offset_)) return;
  const double top = height + offset_;
  cairo_save(cr);
  cairo_rectangle(cr, 0, top, size.Width(), fade);
  cairo_clip(cr);
  cairo_push_group(cr);
  cairo_translate(cr, 0, top + height);
  cairo_scale(cr, 1, -1);
  cairo_set_source_surface(cr, parentPicture, 0, 0);
  cairo_paint(cr);
  cairo_pop_group_to_source(cr);
  cairo_pattern_t* fading = cairo_pattern_create_linear(0, top, 0, top + fade);
  cairo_pattern_add_color_stop_rgba(fading, 0, 0, 0, 0, opacity);
  cairo_pattern_add_color_stop_rgba(fading, 1, 0, 0, 0, 0);
  cairo_mask(cr, fading);
  cairo_pattern_destroy(fading);
  cairo_restore(cr);
}

}  // namespace dbinst
