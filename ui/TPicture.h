#pragma once

#include <memory>
#include <string_view>

typedef struct _cairo_surface cairo_surface_t;

namespace dbinst {

// A decoded PNG or JPEG picture, shared by the image objects that show it.
class TPicture {
 public:
  // Throws EFormStreamError-like std::runtime_error with a clear message on a broken file.
  static std::shared_ptr<const TPicture> Decode(std::string_view fileBytes);
  ~TPicture();
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  int Width() const;
  int Height() const;
  cairo_surface_t* Surface() const { return surface_; }

 private:
  explicit TPicture(cairo_surface_t* surface) : surface_(surface) {}
  cairo_surface_t* surface_;
};

}  // namespace dbinst
