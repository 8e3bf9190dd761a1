// The state of one button: the flags its behaviour sets and its drawing reads.
#pragma once

#include <cstdint>
#include <string>

#include "velnor/color.h"
#include "velnor/geometry.h"

namespace velnor {

// Flags are 16-bit booleans, true = -1 and false = 0, compared with these exact values.
inline constexpr int16_t kTrue = -1;
inline constexpr int16_t kFalse = 0;

// Mouse button values, as the press and move notifications pass them (moves may combine them).
inline constexpr int16_t kLeftButton = 1;
inline constexpr int16_t kRightButton = 2;
inline constexpr int16_t kMiddleButton = 4;

// Key codes the button reacts to.
inline constexpr int16_t kKeyReturn = 13;
inline constexpr int16_t kKeySpace = 32;
inline constexpr int16_t kKeyLeft = 37;
inline constexpr int16_t kKeyUp = 38;
inline constexpr int16_t kKeyRight = 39;
inline constexpr int16_t kKeyDown = 40;

struct ButtonState {
  int16_t is_enabled = kFalse;   // the Enabled property; false until initialised or loaded
  int16_t is_hovering = kFalse;  // the pointer is over the control and the hover look shows
  int16_t move_latch = 0;        // 1: further pointer moves over the control are ignored
  int16_t has_focus = kFalse;    // the control has the keyboard focus
  int16_t last_button = 0;       // button of the last press; 1 after keyboard clicks
  int16_t last_key_code = 0;     // key code of the last key press
  std::string caption;           // the Caption property (UTF-8)
  ColorRef fore_hover = 0;       // the ForeHover property: caption colour while hovering
  Geometry geometry;             // refreshed on resize
};

}  // namespace velnor
