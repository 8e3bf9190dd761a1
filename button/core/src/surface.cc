#include "velnor/surface.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace velnor {
namespace {

int64_t Clamp(int64_t v, int64_t lo, int64_t hi) {
  return std::min(std::max(v, lo), hi);
}

}  // namespace

Surface::Surface(int32_t width, int32_t height, ColorRef background) : background_(background) {
  Resize(width, height);
}

void Surface::Resize(int32_t width, int32_t height) {
  if (width < 0 || height < 0) throw std::invalid_argument("negative surface size");
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), background_);
}

void Surface::Clear() {
  std::fill(pixels_.begin(), pixels_.end(), background_);
}

ColorRef Surface::Pixel(int32_t x, int32_t y) const {
  if (!Contains({x, y})) throw std::out_of_range("pixel outside the surface");
  return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

void Surface::Plot(int64_t x, int64_t y, ColorRef c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = c;
}

void Surface::SetPixel(int32_t x, int32_t y, ColorRef c) {
  Plot(x, y, c);
}

void Surface::PlotRun(int64_t x, int64_t y, bool across_x, int32_t width, ColorRef c) {
  const int64_t first = -(int64_t{width} / 2);
  for (int64_t i = first; i < first + width; ++i) {
    if (across_x)
      Plot(x + i, y, c);
    else
      Plot(x, y + i, c);
  }
}

void Surface::DrawLine(const Pen& pen, Point from, Point to) {
  const int32_t width = std::max<int32_t>(pen.width, 1);
  const int64_t dx = int64_t{to.x} - from.x;
  const int64_t dy = int64_t{to.y} - from.y;
  if (dx == 0 && dy == 0) return;

  if (dy == 0 || dx == 0) {
    // Axis-aligned: clip the run to the surface first, so long lines cost only what shows.
    const bool horizontal = dy == 0;
    const int64_t start = horizontal ? from.x : from.y;
    const int64_t step = (horizontal ? dx : dy) > 0 ? 1 : -1;
    const int64_t end = horizontal ? to.x : to.y;  // excluded
    const int64_t limit = horizontal ? width_ : height_;
    int64_t lo = step > 0 ? start : end + 1;
    int64_t hi = step > 0 ? end - 1 : start;
    lo = Clamp(lo, -1, limit);
    hi = Clamp(hi, -1, limit);
    for (int64_t v = lo; v <= hi; ++v) {
      if (horizontal)
        PlotRun(v, from.y, false, width, pen.color);
      else
        PlotRun(from.x, v, true, width, pen.color);
    }
    return;
  }

  // Bresenham, stepping along the major axis; the end point is not painted.
  const bool x_major = std::llabs(dx) >= std::llabs(dy);
  const int64_t sx = dx > 0 ? 1 : -1;
  const int64_t sy = dy > 0 ? 1 : -1;
  const int64_t adx = std::llabs(dx);
  const int64_t ady = std::llabs(dy);
  int64_t x = from.x;
  int64_t y = from.y;
  const int64_t steps = x_major ? adx : ady;
  int64_t err = (x_major ? adx : ady) / 2;
  for (int64_t i = 0; i < steps; ++i) {
    PlotRun(x, y, !x_major, width, pen.color);
    if (x_major) {
      x += sx;
      err -= ady;
      if (err < 0) {
        y += sy;
        err += adx;
      }
    } else {
      y += sy;
      err -= adx;
      if (err < 0) {
        x += sx;
        err += ady;
      }
    }
  }
}

void Surface::FillRect(const Rect& r, ColorRef c) {
  if (r.IsEmpty()) return;
  const int64_t left = Clamp(r.left, 0, width_);
  const int64_t right = Clamp(r.right, 0, width_);
  const int64_t top = Clamp(r.top, 0, height_);
  const int64_t bottom = Clamp(r.bottom, 0, height_);
  for (int64_t y = top; y < bottom; ++y)
    for (int64_t x = left; x < right; ++x) Plot(x, y, c);
}

void Surface::FrameRect(const Rect& r, ColorRef c) {
  if (r.IsEmpty()) return;
  FillRect({r.left, r.top, r.right, r.top + 1}, c);
  FillRect({r.left, r.bottom - 1, r.right, r.bottom}, c);
  FillRect({r.left, r.top, r.left + 1, r.bottom}, c);
  FillRect({r.right - 1, r.top, r.right, r.bottom}, c);
}

}  // namespace velnor
