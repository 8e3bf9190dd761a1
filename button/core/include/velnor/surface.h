// A 32-bit pixel surface and the drawing operations the button uses.
//
// The surface owns its pixels (row-major, one ColorRef per pixel). Every operation clips to the
// surface, so coordinates outside it are harmless. Lines follow the platform's rules: the start
// point is painted, the end point is not.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "velnor/color.h"
#include "velnor/export.h"
#include "velnor/geometry.h"

namespace velnor {

// A solid pen. A wider pen thickens the line across its major axis, centred on it: each pixel
// of the one-pixel line becomes a run of `width` pixels at offsets -width/2 .. width - 1 -
// width/2 (-1..0 for width 2, -2..1 for width 4). The ends are not extended, so a wide line
// covers exactly the rows (or columns) of its run and the columns (or rows) of the thin line.
struct Pen {
  ColorRef color = 0;
  int32_t width = 1;
};

class VELNOR_API Surface {
 public:
  Surface() = default;
  Surface(int32_t width, int32_t height, ColorRef background);

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }

  // The colour Clear paints; a surface starts cleared to it.
  ColorRef background() const { return background_; }
  void SetBackground(ColorRef c) { background_ = c; }

  // Changes the size; the whole surface is cleared to the background.
  void Resize(int32_t width, int32_t height);
  void Clear();

  // The pixel at (x, y); std::out_of_range outside the surface.
  ColorRef Pixel(int32_t x, int32_t y) const;
  bool Contains(Point p) const { return p.x >= 0 && p.y >= 0 && p.x < width_ && p.y < height_; }
  std::span<const ColorRef> pixels() const { return pixels_; }
  std::span<ColorRef> pixels() { return pixels_; }

  void SetPixel(int32_t x, int32_t y, ColorRef c);
  // A line from `from` towards `to`, `to` itself excluded.
  void DrawLine(const Pen& pen, Point from, Point to);
  // Columns left .. right - 1, rows top .. bottom - 1; nothing for an empty rectangle.
  void FillRect(const Rect& r, ColorRef c);
  // A one-pixel frame on the inside edge of the rectangle; nothing for an empty rectangle.
  void FrameRect(const Rect& r, ColorRef c);

 private:
  void Plot(int64_t x, int64_t y, ColorRef c);
  void PlotRun(int64_t x, int64_t y, bool across_x, int32_t width, ColorRef c);

  int32_t width_ = 0;
  int32_t height_ = 0;
  ColorRef background_ = 0;
  std::vector<ColorRef> pixels_;
};

}  // namespace velnor
