// Points, rectangles and the geometry fields the drawing reads.
#pragma once

#include <cstdint>

#include "velnor/export.h"

namespace velnor {

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// A rectangle as the platform's drawing uses it: columns left .. right - 1 and rows
// top .. bottom - 1. A rectangle whose right is not past its left (or bottom past its top)
// covers nothing.
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// The control's geometry, refreshed from its client rectangle on every resize.
//
// Note the asymmetry the drawing relies on: x_right is the last column, y_bottom is one past the
// last row.
struct VELNOR_API Geometry {
  Rect client;
  int32_t x_left = 0;
  int32_t y_top = 0;
  int32_t x_right = 0;
  int32_t y_bottom = 0;
  int32_t region_width = 0;
  int32_t region_height = 0;

  // The fields for a client rectangle. Sizes that would overflow the coordinate arithmetic of
  // the drawing throw OverflowError.
  static Geometry FromClient(const Rect& client);
  friend bool operator==(const Geometry&, const Geometry&) = default;
};

}  // namespace velnor
