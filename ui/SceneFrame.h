#pragma once

#include <cstdint>
#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace dbinst {

class TvgScene;

// A scene drawn into memory as a window shows it: at the client size, at the display's scale.
class SceneFrame {
 public:
  SceneFrame(TvgScene& scene, int clientWidth, int clientHeight, float scale);
  ~SceneFrame();
  SceneFrame(const SceneFrame&) = delete;
  SceneFrame& operator=(const SceneFrame&) = delete;

  // False when Cairo could not make the picture.
  bool Valid() const { return surface_ != nullptr; }
  // Premultiplied ARGB32 in native byte order.
  const uint8_t* Pixels() const;
  int Width() const;
  int Height() const;
  int Stride() const;
  // False with the reason.
  bool WritePng(const std::string& path, std::string& error) const;

 private:
  cairo_surface_t* surface_ = nullptr;
};

}  // namespace dbinst
