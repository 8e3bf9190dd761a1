#include "velnor/region.h"

#include <algorithm>

namespace velnor {

void Region::Subtract(const Rect& cut) {
  const Rect clipped{std::max(cut.left, bounds_.left), std::max(cut.top, bounds_.top),
                     std::min(cut.right, bounds_.right), std::min(cut.bottom, bounds_.bottom)};
  if (!clipped.IsEmpty()) cuts_.push_back(clipped);
}

bool Region::Contains(Point p) const {
  if (!bounds_.Contains(p)) return false;
  return std::none_of(cuts_.begin(), cuts_.end(), [p](const Rect& r) { return r.Contains(p); });
}

}  // namespace velnor
