#include "velnor/paint.h"

#include <cmath>
#include <limits>

#include "velnor/errors.h"

namespace velnor {
namespace {

// Outline.
constexpr ColorRef kOutline = Rgb(0, 60, 116);
constexpr ColorRef kOutlineCornerOuter = Rgb(122, 149, 168);
constexpr ColorRef kOutlineCornerInner = Rgb(37, 87, 131);
// Normal face.
constexpr ColorRef kNormalShade1 = Rgb(236, 235, 230);
constexpr ColorRef kNormalShade2 = Rgb(226, 223, 214);
constexpr ColorRef kNormalShade3 = Rgb(214, 208, 197);
// Pressed face.
constexpr ColorRef kPressedTop1 = Rgb(209, 204, 192);
constexpr ColorRef kPressedTop2 = Rgb(220, 216, 207);
constexpr ColorRef kPressedBottom1 = Rgb(234, 233, 227);
constexpr ColorRef kPressedBottom2 = Rgb(242, 241, 238);
// Disabled face.
constexpr ColorRef kDisabledFill = Rgb(245, 244, 234);
constexpr ColorRef kDisabledOutline = Rgb(201, 199, 186);
constexpr ColorRef kDisabledCornerOuter = Rgb(216, 213, 199);
constexpr ColorRef kDisabledCornerInner = Rgb(234, 233, 222);
// Hover highlight.
constexpr ColorRef kHoverTop1 = Rgb(255, 240, 207);
constexpr ColorRef kHoverTop2 = Rgb(253, 216, 137);
constexpr ColorRef kHoverBottom = Rgb(229, 151, 0);
// Focus highlight.
constexpr ColorRef kFocusTop1 = Rgb(206, 231, 251);
constexpr ColorRef kFocusTop2 = Rgb(188, 212, 246);
constexpr ColorRef kFocusBottomCorner = Rgb(77, 125, 193);
constexpr ColorRef kFocusBottom = Rgb(97, 125, 229);
// Caption of a disabled control.
constexpr ColorRef kDisabledText = Rgb(161, 161, 146);

// A colour that steps by fixed amounts per row of a gradient.
struct Rgb3 {
  int r, g, b;
  ColorRef ref() const {
    return Rgb(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b));
  }
};

// A line on row y from column `first` up to, not including, column `end`.
void Row(Surface& s, int32_t y, int32_t first, int32_t end, ColorRef c, int32_t width = 1) {
  s.DrawLine(Pen{c, width}, {first, y}, {end, y});
}

// The one-pixel line the platform draws from (x, y) to (x, y + 1).
void Dot(Surface& s, int32_t x, int32_t y, ColorRef c, int32_t width = 1) {
  s.DrawLine(Pen{c, width}, {x, y}, {x, y + 1});
}

int32_t RoundHalfEven(double v) {
  double f = std::floor(v);
  const double frac = v - f;
  if (frac > 0.5 || (frac == 0.5 && std::fmod(f, 2.0) != 0.0)) f += 1.0;
  if (!(f >= std::numeric_limits<int32_t>::min() && f <= std::numeric_limits<int32_t>::max()))
    throw OverflowError();
  return static_cast<int32_t>(f);
}

void DrawCaption(const ButtonState& st, Host& host) {
  const Rect client = host.ClientRect();
  const ColorRef fore = st.is_enabled != kFalse && st.is_hovering == kFalse ? host.ForeColor() : 0;
  const ColorRef color = CaptionColor(st, fore);
  const int32_t text_height = host.MeasureText(st.caption, client.right - client.left);
  const Surface& s = host.surface();
  host.DrawText(st.caption, CaptionBox(s.width(), s.height(), text_height), color);
}

}  // namespace

void DrawNormalFace(Surface& s, const Geometry& g) {
  const int32_t L = g.x_left, T = g.y_top, R = g.x_right, B = g.y_bottom;
  Rgb3 c{255, 255, 253};
  for (int32_t y = T + 3; y <= B - 3; ++y) {
    Row(s, y, L, R, c.ref());
    if (c.b >= 230) c = {c.r - 1, c.g - 1, c.b - 1};
  }
  Row(s, B - 2, L, R, kNormalShade3);
  Row(s, B - 3, L, R, kNormalShade2);
  Row(s, B - 4, L, R, kNormalShade1);
}

void DrawPressedFace(Surface& s, const Geometry& g) {
  const int32_t L = g.x_left, T = g.y_top, R = g.x_right, B = g.y_bottom;
  Rgb3 c{226, 225, 218};
  for (int32_t y = T + 3; y <= B - 2; y += 4) {
    Row(s, y, L, R, c.ref(), 4);
    if (c.b >= 218) c = {c.r - 1, c.g - 1, c.b - 1};
  }
  Row(s, T + 1, L, R, kPressedTop1);
  Row(s, T + 2, L, R, kPressedTop2);
  Row(s, B - 3, L, R, kPressedBottom1);
  Row(s, B - 2, L, R, kPressedBottom2);
}

void DrawDisabledFace(Surface& s, const Geometry& g) {
  const int32_t L = g.x_left, T = g.y_top, R = g.x_right, B = g.y_bottom;
  s.FillRect(g.client, kDisabledFill);
  s.FrameRect(g.client, kDisabledOutline);
  constexpr ColorRef A = kDisabledCornerOuter;
  constexpr ColorRef C = kDisabledCornerInner;
  // Top left.
  s.SetPixel(L, T + 1, A);
  s.SetPixel(L + 1, T + 1, A);
  s.SetPixel(L + 1, T, A);
  s.SetPixel(L + 1, T + 2, C);
  s.SetPixel(L + 2, T + 1, C);
  // Top right.
  s.SetPixel(R - 1, T, A);
  s.SetPixel(R - 1, T + 1, A);
  s.SetPixel(R, T + 1, A);
  s.SetPixel(R - 2, T + 1, C);
  s.SetPixel(R - 1, T + 2, C);
  // Bottom left.
  s.SetPixel(L, B - 2, A);
  s.SetPixel(L + 1, B - 2, A);
  s.SetPixel(L + 1, B - 1, A);
  s.SetPixel(L + 1, B - 3, C);
  s.SetPixel(L + 2, B - 2, C);
  // Bottom right.
  s.SetPixel(R, B - 2, A);
  s.SetPixel(R - 1, B - 2, A);
  s.SetPixel(R - 1, B - 1, A);
  s.SetPixel(R - 1, B - 3, C);
  s.SetPixel(R - 2, B - 2, C);
}

void DrawBorder(Surface& s, const Geometry& g) {
  const int32_t L = g.x_left, T = g.y_top, R = g.x_right, B = g.y_bottom;
  s.FrameRect(g.client, kOutline);
  constexpr ColorRef P = kOutlineCornerOuter;
  constexpr ColorRef Q = kOutlineCornerInner;
  s.SetPixel(L, T + 1, P);
  s.SetPixel(L + 1, T + 1, Q);
  s.SetPixel(L + 1, T, P);

  s.SetPixel(R - 1, T, P);
  s.SetPixel(R - 1, T + 1, Q);
  s.SetPixel(R, T + 1, P);

  s.SetPixel(L, B - 2, P);
  s.SetPixel(L + 1, B - 2, Q);
  s.SetPixel(L + 1, B - 1, P);

  s.SetPixel(R, B - 2, P);
  s.SetPixel(R - 1, B - 2, Q);
  s.SetPixel(R - 1, B - 1, P);
}

void DrawHoverRing(Surface& s, const Geometry& g) {
  const int32_t L = g.x_left, T = g.y_top, R = g.x_right, B = g.y_bottom;
  Row(s, T + 1, L + 2, R - 1, kHoverTop1);
  Row(s, T + 2, L + 1, R, kHoverTop2);

  Rgb3 outer{254, 223, 154};
  for (int32_t y = T + 2; y <= B - 3; ++y) {
    Dot(s, L + 1, y, outer.ref());
    Dot(s, R - 1, y, outer.ref());
    if (outer.b >= 49) outer = {outer.r - 1, outer.g - 3, outer.b - 7};
  }
  Rgb3 inner{252, 210, 121};
  for (int32_t y = T + 3; y <= B - 3; ++y) {
    Dot(s, L + 2, y, inner.ref());
    Dot(s, R - 2, y, inner.ref());
    if (inner.b >= 57) inner = {inner.r - 1, inner.g - 4, inner.b - 8};
  }
  Row(s, B - 3, L + 3, R, inner.ref());
  Row(s, B - 2, L + 2, R - 1, kHoverBottom);
}

void DrawFocusRing(Surface& s, const Geometry& g) {
  const int32_t L = g.x_left, T = g.y_top, R = g.x_right, B = g.y_bottom;
  Row(s, T + 1, L + 2, R - 1, kFocusTop1);
  Row(s, T + 2, L + 1, R, kFocusTop2);

  Rgb3 side{186, 211, 246};
  for (int32_t y = T + 3; y <= B - 4; ++y) {
    Dot(s, L + 2, y, side.ref(), 2);
    Dot(s, R - 1, y, side.ref(), 2);
    if (side.b >= 228) side = {side.r - 4, side.g - 3, side.b - 1};
  }
  Row(s, B - 3, L + 1, R - 1, side.ref());
  s.SetPixel(L + 2, B - 2, kFocusBottomCorner);
  Row(s, B - 2, L + 3, R - 2, kFocusBottom);
  s.SetPixel(R - 2, B - 2, kFocusBottomCorner);
}

ColorRef CaptionColor(const ButtonState& st, ColorRef fore_color) {
  if (st.is_enabled == kFalse) return kDisabledText;
  return st.is_hovering != kFalse ? st.fore_hover : fore_color;
}

Rect CaptionBox(int32_t surface_width, int32_t surface_height, int32_t text_height) {
  const double half_surface = surface_height * 0.5;
  const double half_text = text_height * 0.5;
  return Rect{0, RoundHalfEven(half_surface - half_text), surface_width,
              RoundHalfEven(half_surface + half_text)};
}

Region WindowShape(const Geometry& g) {
  const int32_t w = g.region_width, h = g.region_height;
  Region shape(Rect{0, 0, w, h});
  shape.Subtract({0, 0, 1, 1});
  shape.Subtract({0, h - 1, 1, h});
  shape.Subtract({w - 1, 0, w, 1});
  shape.Subtract({w - 1, h - 1, w, h});
  return shape;
}

void Repaint(const ButtonState& st, int16_t down, Host& host) {
  const Geometry& g = st.geometry;
  Surface& s = host.PrepareSurface();
  if (st.is_enabled == kFalse) {
    DrawDisabledFace(s, g);
  } else if (down == 1 && st.last_button == kLeftButton) {
    DrawPressedFace(s, g);
    DrawBorder(s, g);
  } else {
    DrawNormalFace(s, g);
    if (st.is_hovering == kTrue)
      DrawHoverRing(s, g);
    else if (st.has_focus == kTrue)
      DrawFocusRing(s, g);
    DrawBorder(s, g);
  }
  DrawCaption(st, host);
  host.SetWindowShape(WindowShape(g));
}

}  // namespace velnor
