// Colour references: 32-bit values laid out 0x00BBGGRR, red in the low byte.
//
// A value with the high bit set refers to a system colour (0x80000000 | index) instead of
// holding components; the drawing passes such values through unchanged and leaves their
// meaning to the host that shows text.
#pragma once

#include <cstdint>

namespace velnor {

using ColorRef = uint32_t;

constexpr ColorRef Rgb(uint8_t r, uint8_t g, uint8_t b) {
  return ColorRef{r} | (ColorRef{g} << 8) | (ColorRef{b} << 16);
}
constexpr uint8_t RedOf(ColorRef c) {
  return static_cast<uint8_t>(c & 0xFF);
}
constexpr uint8_t GreenOf(ColorRef c) {
  return static_cast<uint8_t>((c >> 8) & 0xFF);
}
constexpr uint8_t BlueOf(ColorRef c) {
  return static_cast<uint8_t>((c >> 16) & 0xFF);
}

constexpr bool IsSystemColor(ColorRef c) {
  return (c & 0x80000000u) != 0;
}
constexpr ColorRef SystemColor(uint8_t index) {
  return 0x80000000u | index;
}

// System colour indexes the hosts translate.
inline constexpr uint8_t kSysWindowText = 0x08;
inline constexpr uint8_t kSysButtonFace = 0x0F;
inline constexpr uint8_t kSysGrayText = 0x11;
inline constexpr uint8_t kSysButtonText = 0x12;

}  // namespace velnor
