#include "ui/SceneFrame.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "ui/TvgScene.h"

namespace dbinst {

SceneFrame::SceneFrame(TvgScene& scene, int clientWidth, int clientHeight, float scale) {
  const int width = std::max(1, static_cast<int>(std::lround(clientWidth * scale)));
  const int height = std::max(1, static_cast<int>(std::lround(clientHeight * scale)));
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return;
  }
  cairo_t* cr = cairo_create(surface);
  scene.SetSize(static_cast<float>(clientWidth), static_cast<float>(clientHeight));
  scene.Paint(cr, scale);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  surface_ = surface;
}

SceneFrame::~SceneFrame() {
  if (surface_) cairo_surface_destroy(surface_);
}

const uint8_t* SceneFrame::Pixels() const { return cairo_image_surface_get_data(surface_); }

int SceneFrame::Width() const { return cairo_image_surface_get_width(surface_); }

int SceneFrame::Height() const { return cairo_image_surface_get_height(surface_); }

int SceneFrame::Stride() const { return cairo_image_surface_get_stride(surface_); }

bool SceneFrame::WritePng(const std::string& path, std::string& error) const {
  const cairo_status_t status = cairo_surface_write_to_png(surface_, path.c_str());
  if (status == CAIRO_STATUS_SUCCESS) return true;
  error = "cannot write " + path + ": " + cairo_status_to_string(status);
  return false;
}

}  // namespace dbinst
