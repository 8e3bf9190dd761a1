#include "velnor/geometry.h"

#include "velnor/errors.h"

namespace velnor {
namespace {

// The drawing works at offsets of a few pixels from the edges; keeping every edge well inside
// the 32-bit range makes all of that arithmetic safe.
constexpr int32_t kLimit = int32_t{1} << 30;

bool InRange(int32_t v) {
  return v > -kLimit && v < kLimit;
}

}  // namespace

Geometry Geometry::FromClient(const Rect& client) {
  if (!InRange(client.left) || !InRange(client.top) || !InRange(client.right) ||
      !InRange(client.bottom))
    throw OverflowError();
  Geometry g;
  g.client = client;
  g.x_left = client.left;
  g.y_top = client.top;
  g.x_right = client.right - 1;
  g.y_bottom = client.bottom;
  g.region_width = client.right;
  g.region_height = client.bottom;
  return g;
}

}  // namespace velnor
