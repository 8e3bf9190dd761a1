// The control's toolbox picture: a small window with a blue title bar and a pencil, 16 x 15
// pixels in colours of the 16-colour palette. Form designers show it next to the control's name.
#pragma once

#include "velnor/export.h"
#include "velnor/surface.h"

namespace velnor {

// The resource number form designers look the picture up by.
inline constexpr int kToolboxBitmapId = 30000;
inline constexpr int kToolboxBitmapWidth = 16;
inline constexpr int kToolboxBitmapHeight = 15;

// The picture, drawn afresh on each call; its background is silver (192, 192, 192).
VELNOR_API Surface ToolboxBitmap();

}  // namespace velnor
