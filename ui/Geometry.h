#pragma once

namespace dbinst {

struct TPointF {
  float x = 0;
  float y = 0;
};

// Left, top, right and bottom edges; also a rectangle in scene coordinates.
struct TRectF {
  float left = 0;
  float top = 0;
  float right = 0;
  float bottom = 0;

  float Width() const { return right - left; }
  float Height() const { return bottom - top; }
  TPointF Center() const { return {(left + right) / 2, (top + bottom) / 2}; }
  bool Contains(TPointF p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
};

// Space on each side: an object's padding (kept free around it by the parent that aligns it) and
// margins (kept free inside its own edges for its aligned children).
struct TBounds {
  float left = 0;
  float top = 0;
  float right = 0;
  float bottom = 0;
};

}  // namespace dbinst
