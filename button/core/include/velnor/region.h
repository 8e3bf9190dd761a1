// A window shape: a rectangle minus a set of rectangles cut out of it.
//
// The button's shape is its client rectangle without the four corner pixels; this is all the
// region arithmetic it needs. A region is a value: handing it to a host moves it there.
#pragma once

#include <vector>

#include "velnor/export.h"
#include "velnor/geometry.h"

namespace velnor {

class VELNOR_API Region {
 public:
  Region() = default;
  explicit Region(const Rect& bounds) : bounds_(bounds) {}

  // Removes `cut` from the region (the difference of the two).
  void Subtract(const Rect& cut);

  bool Contains(Point p) const;
  bool IsEmpty() const { return bounds_.IsEmpty(); }
  const Rect& bounds() const { return bounds_; }
  // The rectangles cut out, in the order they were subtracted (empty ones are dropped).
  const std::vector<Rect>& cuts() const { return cuts_; }

 private:
  Rect bounds_;
  std::vector<Rect> cuts_;
};

}  // namespace velnor
