// The button's picture: the face, highlight and outline routines, the caption layout and the
// window shape, and Repaint, which chooses among them from the state.
//
// Every routine paints fixed colours at fixed offsets from the geometry; nothing is cached
// between repaints. The routines clip to the surface, so a tiny control draws what fits.
#pragma once

#include <cstdint>

#include "velnor/color.h"
#include "velnor/export.h"
#include "velnor/geometry.h"
#include "velnor/host.h"
#include "velnor/region.h"
#include "velnor/state.h"
#include "velnor/surface.h"

namespace velnor {

// Redraws the whole control on the host's surface: the face for the state (pressed when `down`
// is 1 and the last press was the left button), the hover or else the focus highlight, the
// outline, the caption, and finally the window shape. Errors of host services propagate; what
// was drawn before stays.
VELNOR_API void Repaint(const ButtonState& state, int16_t down, Host& host);

// The face routines paint over whatever the surface holds; Repaint clears it first.
VELNOR_API void DrawNormalFace(Surface& s, const Geometry& g);
VELNOR_API void DrawPressedFace(Surface& s, const Geometry& g);
VELNOR_API void DrawDisabledFace(Surface& s, const Geometry& g);
VELNOR_API void DrawHoverRing(Surface& s, const Geometry& g);
VELNOR_API void DrawFocusRing(Surface& s, const Geometry& g);
VELNOR_API void DrawBorder(Surface& s, const Geometry& g);

// The caption's colour: the hover colour while hovering, the host's foreground colour
// otherwise, grey when disabled. Colour values are passed on as stored.
VELNOR_API ColorRef CaptionColor(const ButtonState& state, ColorRef fore_color);
// The box the caption is drawn in: full width, `text_height` rows centred vertically, the
// half-pixel positions rounded to the even neighbour.
VELNOR_API Rect CaptionBox(int32_t surface_width, int32_t surface_height, int32_t text_height);
// The client rectangle without its four corner pixels.
VELNOR_API Region WindowShape(const Geometry& g);

}  // namespace velnor
