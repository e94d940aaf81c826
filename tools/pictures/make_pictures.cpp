// make-pictures: draws the pictures of the stored windows with Cairo and writes them into a
// folder (PNG through Cairo, JPEG through libjpeg), so that no binary picture lives in the sources.
#include <cairo.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

// libjpeg needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace {

namespace fs = std::filesystem;

using TSurface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
using TDrawing = std::function<void(cairo_t*, int width, int height)>;

constexpr double kPi = 3.14159265358979323846;

void Rgb(cairo_t* cr, unsigned rgb, double alpha = 1) {
  cairo_set_source_rgba(cr, ((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0,
                        (rgb & 255) / 255.0, alpha);
}

void Line(cairo_t* cr, double x1, double y1, double x2, double y2) {
  cairo_move_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  cairo_stroke(cr);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
  cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
  cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
  cairo_close_path(cr);
}

// A room outline with a door opening and its swing, as a floor plan draws it.
void FloorPlanRoom(cairo_t* cr, double x, double y, double w, double h, double door) {
  cairo_move_to(cr, x + door + 28, y + h);
  cairo_line_to(cr, x + w, y + h);
  cairo_line_to(cr, x + w, y);
  cairo_line_to(cr, x, y);
  cairo_line_to(cr, x, y + h);
  cairo_line_to(cr, x + door, y + h);
  cairo_stroke(cr);
  cairo_move_to(cr, x + door, y + h);
  cairo_line_to(cr, x + door, y + h - 28);
  cairo_stroke(cr);
  cairo_arc(cr, x + door, y + h, 28, -kPi / 2, 0);
  cairo_stroke(cr);
}

void DrawBanner(cairo_t* cr, int width, int height) {
  cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, width, height);
  cairo_pattern_add_color_stop_rgb(sky, 0, 0.86, 0.90, 0.95);
  cairo_pattern_add_color_stop_rgb(sky, 0.55, 0.95, 0.96, 0.97);
  cairo_pattern_add_color_stop_rgb(sky, 1, 0.97, 0.95, 0.91);
  cairo_set_source(cr, sky);
  cairo_paint(cr);
  cairo_pattern_destroy(sky);
  // A tile grid that fades in towards the right.
  cairo_set_line_width(cr, 1.5);
  for (int x = 900; x < width; x += 58) {
    Rgb(cr, 0x2F6FB0, 0.05 + 0.10 * (x - 900) / (width - 900.0));
    Line(cr, x, 0, x, height);
  }
  for (int y = 12; y < height; y += 58) {
    Rgb(cr, 0x2F6FB0, 0.10);
    Line(cr, 900, y, width, y);
  }
  // Floor-plan rooms on the left half.
  cairo_set_line_width(cr, 3);
  Rgb(cr, 0x44546A, 0.22);
  FloorPlanRoom(cr, 60, 26, 230, 118, 40);
  FloorPlanRoom(cr, 290, 26, 170, 118, 60);
  FloorPlanRoom(cr, 460, 26, 280, 70, 150);
  cairo_set_line_width(cr, 1.5);
  Rgb(cr, 0x44546A, 0.15);
  for (int x = 470; x < 740; x += 22) Line(cr, x, 104, x, 144);
  // A thin accent line along the bottom edge.
  Rgb(cr, 0x2F6FB0, 0.35);
  cairo_set_line_width(cr, 4);
  Line(cr, 0, height - 2, width, height - 2);
}

// A kitchen corner in one-point perspective: tiled back wall, floor, a counter and a window.
void DrawSide(cairo_t* cr, int width, int height) {
  const double wallLeft = 50, wallRight = 200, wallTop = 60, wallBottom = 230;
  Rgb(cr, 0xF3F1EC);
  cairo_paint(cr);
  Rgb(cr, 0xE4E9EF);  // ceiling
  cairo_move_to(cr, 0, 0);
  cairo_line_to(cr, width, 0);
  cairo_line_to(cr, wallRight, wallTop);
  cairo_line_to(cr, wallLeft, wallTop);
  cairo_close_path(cr);
  cairo_fill(cr);
  Rgb(cr, 0xD9CDBB);  // floor
  cairo_move_to(cr, 0, height);
  cairo_line_to(cr, width, height);
  cairo_line_to(cr, wallRight, wallBottom);
  cairo_line_to(cr, wallLeft, wallBottom);
  cairo_close_path(cr);
  cairo_fill(cr);
  Rgb(cr, 0xFBFBF9);  // back wall with tiles
  cairo_rectangle(cr, wallLeft, wallTop, wallRight - wallLeft, wallBottom - wallTop);
  cairo_fill(cr);
  cairo_set_line_width(cr, 1);
  Rgb(cr, 0x8AA2BC, 0.5);
  for (double x = wallLeft; x <= wallRight; x += 15) Line(cr, x, 140, x, wallBottom);
  for (double y = 140; y <= wallBottom; y += 15) Line(cr, wallLeft, y, wallRight, y);
  // Floor boards running towards the vanishing point.
  Rgb(cr, 0x9C8A70, 0.45);
  const double vx = (wallLeft + wallRight) / 2, vy = (wallTop + wallBottom) / 2;
  for (int i = -4; i <= 4; ++i) {
    const double fx = vx + i * 60;
    const double t = (wallBottom - vy) / (height - vy);
    Line(cr, vx + (fx - vx) * t, wallBottom, fx, height);
  }
  // Window above the counter.
  Rgb(cr, 0xCFE0F0);
  cairo_rectangle(cr, 95, 78, 60, 46);
  cairo_fill(cr);
  Rgb(cr, 0x6F7F91);
  cairo_set_line_width(cr, 2);
  cairo_rectangle(cr, 95, 78, 60, 46);
  cairo_stroke(cr);
  Line(cr, 125, 78, 125, 124);
  // Counter with cabinets, and the side walls.
  Rgb(cr, 0x5B6B7D);
  cairo_rectangle(cr, wallLeft, 180, wallRight - wallLeft, 6);
  cairo_fill(cr);
  Rgb(cr, 0xE7E2D8);
  cairo_rectangle(cr, wallLeft, 186, wallRight - wallLeft, 44);
  cairo_fill(cr);
  Rgb(cr, 0x9AA5B1);
  cairo_set_line_width(cr, 1);
  for (double x = wallLeft + 37.5; x < wallRight; x += 37.5) Line(cr, x, 188, x, 228);
  Rgb(cr, 0xEAE6DF);
  cairo_move_to(cr, 0, 0);
  cairo_line_to(cr, wallLeft, wallTop);
  cairo_line_to(cr, wallLeft, wallBottom);
  cairo_line_to(cr, 0, height);
  cairo_close_path(cr);
  cairo_fill(cr);
  Rgb(cr, 0xE0DCD4);
  cairo_move_to(cr, width, 0);
  cairo_line_to(cr, wallRight, wallTop);
  cairo_line_to(cr, wallRight, wallBottom);
  cairo_line_to(cr, width, height);
  cairo_close_path(cr);
  cairo_fill(cr);
}

void DrawDrive(cairo_t* cr, int width, int height) {
  const double x = 4, y = 14, w = width - 8, h = height - 26;
  cairo_pattern_t* body = cairo_pattern_create_linear(0, y, 0, y + h);
  cairo_pattern_add_color_stop_rgb(body, 0, 0.86, 0.88, 0.90);
  cairo_pattern_add_color_stop_rgb(body, 1, 0.62, 0.66, 0.70);
  RoundedRect(cr, x, y, w, h, 4);
  cairo_set_source(cr, body);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(body);
  Rgb(cr, 0x4A5562);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  Rgb(cr, 0x4A5562, 0.6);
  Line(cr, x + 6, y + h - 8, x + w - 16, y + h - 8);
  Rgb(cr, 0x3CB043);
  cairo_arc(cr, x + w - 8, y + h - 8, 2.5, 0, 2 * kPi);
  cairo_fill(cr);
}

void Disc(cairo_t* cr, int size, unsigned light, unsigned dark) {
  cairo_pattern_t* fill = cairo_pattern_create_linear(0, 0, 0, size);
  cairo_pattern_add_color_stop_rgb(fill, 0, ((light >> 16) & 255) / 255.0,
                                   ((light >> 8) & 255) / 255.0, (light & 255) / 255.0);
  cairo_pattern_add_color_stop_rgb(fill, 1, ((dark >> 16) & 255) / 255.0,
                                   ((dark >> 8) & 255) / 255.0, (dark & 255) / 255.0);
  cairo_arc(cr, size / 2.0, size / 2.0, size / 2.0 - 2, 0, 2 * kPi);
  cairo_set_source(cr, fill);
  cairo_fill(cr);
  cairo_pattern_destroy(fill);
}

void DrawTick(cairo_t* cr, int width, int) {
  Disc(cr, width, 0x6CC070, 0x2E8B3A);
  Rgb(cr, 0xFFFFFF);
  cairo_set_line_width(cr, 5);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_move_to(cr, 14, 26);
  cairo_line_to(cr, 22, 34);
  cairo_line_to(cr, 37, 17);
  cairo_stroke(cr);
}

void DrawQuestion(cairo_t* cr, int width, int) {
  Disc(cr, width, 0x5B95D0, 0x2F6FB0);
  Rgb(cr, 0xFFFFFF);
  cairo_set_line_width(cr, 5);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_arc(cr, 25, 19, 7.5, -kPi, kPi / 2.4);
  cairo_line_to(cr, 25, 30);
  cairo_stroke(cr);
  cairo_arc(cr, 25, 38, 3, 0, 2 * kPi);
  cairo_fill(cr);
}

void DrawWarning(cairo_t* cr, int width, int height) {
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(cr, 4);
  cairo_move_to(cr, width / 2.0, 4);
  cairo_line_to(cr, width - 3, height - 5);
  cairo_line_to(cr, 3, height - 5);
  cairo_close_path(cr);
  Rgb(cr, 0xF2B632);
  cairo_fill_preserve(cr);
  Rgb(cr, 0xC98E12);
  cairo_stroke(cr);
  Rgb(cr, 0x3A3A3A);
  cairo_set_line_width(cr, 5);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  Line(cr, 25, 18, 25, 31);
  cairo_arc(cr, 25, 38.5, 3, 0, 2 * kPi);
  cairo_fill(cr);
}

TSurface Draw(int width, int height, bool opaque, const TDrawing& drawing) {
  TSurface surface(
      cairo_image_surface_create(opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32, width, height),
      &cairo_surface_destroy);
  cairo_t* cr = cairo_create(surface.get());
  drawing(cr, width, height);
  cairo_destroy(cr);
  cairo_surface_flush(surface.get());
  return surface;
}

bool WritePng(const TSurface& surface, const fs::path& path) {
  return cairo_surface_write_to_png(surface.get(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

bool WriteJpeg(const TSurface& surface, const fs::path& path) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const int width = cairo_image_surface_get_width(surface.get());
  const int height = cairo_image_surface_get_height(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  const unsigned char* data = cairo_image_surface_get_data(surface.get());
  jpeg_compress_struct jpeg{};
  jpeg_error_mgr errors{};
  jpeg.err = jpeg_std_error(&errors);
  jpeg_create_compress(&jpeg);
  jpeg_stdio_dest(&jpeg, file);
  jpeg.image_width = static_cast<JDIMENSION>(width);
  jpeg.image_height = static_cast<JDIMENSION>(height);
  jpeg.input_components = 3;
  jpeg.in_color_space = JCS_RGB;
  jpeg_set_defaults(&jpeg);
  jpeg_set_quality(&jpeg, 90, TRUE);
  jpeg_start_compress(&jpeg, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(width) * 3);
  while (jpeg.next_scanline < jpeg.image_height) {
    const auto* pixels = reinterpret_cast<const uint32_t*>(data + jpeg.next_scanline * stride);
    for (int x = 0; x < width; ++x) {
      row[x * 3] = static_cast<JSAMPLE>((pixels[x] >> 16) & 255);
      row[x * 3 + 1] = static_cast<JSAMPLE>((pixels[x] >> 8) & 255);
      row[x * 3 + 2] = static_cast<JSAMPLE>(pixels[x] & 255);
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&jpeg, rows, 1);
  }
  jpeg_finish_compress(&jpeg);
  jpeg_destroy_compress(&jpeg);
  return std::fclose(file) == 0;
}

struct TPictureSpec {
  const char* file;
  int width;
  int height;
  TDrawing drawing;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make-pictures OUTPUT_FOLDER\n";
    return 2;
  }
  const fs::path folder = argv[1];
  std::error_code error;
  fs::create_directories(folder, error);
  const std::vector<TPictureSpec> pictures = {
      {"banner.jpg", 1737, 174, DrawBanner},  {"side.jpg", 250, 341, DrawSide},
      {"drive.png", 48, 48, DrawDrive},       {"tick.png", 50, 50, DrawTick},
      {"question.png", 50, 50, DrawQuestion}, {"warning.png", 50, 50, DrawWarning},
  };
  for (const TPictureSpec& picture : pictures) {
    const fs::path path = folder / picture.file;
    const bool jpeg = path.extension() == ".jpg";
    const TSurface surface = Draw(picture.width, picture.height, jpeg, picture.drawing);
    if (!(jpeg ? WriteJpeg(surface, path) : WritePng(surface, path))) {
      std::cerr << path.string() << ": cannot write\n";
      return 1;
    }
  }
  return 0;
}
