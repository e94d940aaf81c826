#pragma once

#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>

namespace dbinst::test {

// An ARGB image surface to draw into, with pixel reads for the checks.
class TCanvas {
 public:
  TCanvas(int width, int height)
      : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
        cr_(cairo_create(surface_)) {}
  ~TCanvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
  }
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  cairo_t* Cr() const { return cr_; }
  cairo_surface_t* Surface() const { return surface_; }
  int Width() const { return cairo_image_surface_get_width(surface_); }
  int Height() const { return cairo_image_surface_get_height(surface_); }

  // Premultiplied 0xAARRGGBB.
  uint32_t Pixel(int x, int y) const {
    cairo_surface_flush(surface_);
    const unsigned char* row =
        cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
    return reinterpret_cast<const uint32_t*>(row)[x];
  }
  static int Alpha(uint32_t p) { return p >> 24; }
  static int Red(uint32_t p) { return (p >> 16) & 0xFF; }
  static int Green(uint32_t p) { return (p >> 8) & 0xFF; }
  static int Blue(uint32_t p) { return p & 0xFF; }

  struct TBox {
    int left = -1, top = -1, right = -1, bottom = -1;  // inclusive; -1 when nothing matched
    bool Empty() const { return left < 0; }
    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
  };
  // The bounding box of the pixels that match.
  TBox Bounds(const std::function<bool(uint32_t)>& matches) const {
    TBox box;
    for (int y = 0; y < Height(); ++y) {
      for (int x = 0; x < Width(); ++x) {
        if (!matches(Pixel(x, y))) continue;
        if (box.Empty()) box = {x, y, x, y};
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x);
        box.top = std::min(box.top, y);
        box.bottom = std::max(box.bottom, y);
      }
    }
    return box;
  }
  TBox InkBounds() const {
    return Bounds([](uint32_t p) { return Alpha(p) > 0; });
  }

 private:
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

inline bool Near(int a, int b, int tolerance) { return std::abs(a - b) <= tolerance; }

}  // namespace dbinst::test

namespace dbinst::test {

// The toolkit's one accent colour, allowing for antialiasing at the edges.
inline bool IsAccent(uint32_t p) {
  return TCanvas::Alpha(p) == 255 && Near(TCanvas::Red(p), 0x2F, 10) &&
         Near(TCanvas::Green(p), 0x6F, 10) && Near(TCanvas::Blue(p), 0xB0, 10);
}

}  // namespace dbinst::test
