#include "velnor/detached_host.h"

namespace velnor {

DetachedHost::DetachedHost(int32_t width, int32_t height, ColorRef background)
    : surface_(width, height, background) {}

void DetachedHost::SetSize(int32_t width, int32_t height) {
  surface_.Resize(width, height);
}

Surface& DetachedHost::PrepareSurface() {
  surface_.Clear();
  return surface_;
}

}  // namespace velnor
