// The looks of a 75 x 23 button, pixel by pixel, on a host without text (empty caption), plus
// the caption's colour and placement and the window shape.
#include <gtest/gtest.h>

#include "test_support.h"
#include "velnor/paint.h"

namespace velnor::test {
namespace {

constexpr int32_t W = 75, H = 23;
constexpr ColorRef kBg = RecordingHost::kBackground;

// The outline every enabled look ends with. The four outermost corners are outside the window
// shape, so their colour does not matter.
void Outline(Picture& p) {
  const ColorRef O = Rgb(0x00, 0x3C, 0x74), P = Rgb(0x7A, 0x95, 0xA8), Q = Rgb(0x25, 0x57, 0x83);
  p.Row(0, 0, W - 1, O)
      .Row(H - 1, 0, W - 1, O)
      .Fill(0, 0, 0, H - 1, O)
      .Fill(W - 1, 0, W - 1, H - 1, O);
  p.Set(0, 1, P).Set(1, 1, Q).Set(1, 0, P);
  p.Set(73, 0, P).Set(73, 1, Q).Set(74, 1, P);
  p.Set(0, 21, P).Set(1, 21, Q).Set(1, 22, P);
  p.Set(74, 21, P).Set(73, 21, Q).Set(73, 22, P);
  p.Ignore(0, 0).Ignore(74, 0).Ignore(0, 22).Ignore(74, 22);
}

// The normal face: background on rows 1 and 2, the gradient from #FFFFFD one step per row,
// then three shading rows.
Picture NormalFace() {
  Picture p(W, H);
  p.Fill(0, 1, 73, 2, kBg);
  for (int y = 3; y <= 18; ++y) {
    const auto m = static_cast<uint8_t>(y - 3);
    p.Row(y, 0, 73, Rgb(255 - m, 255 - m, 253 - m));
  }
  p.Row(19, 0, 73, Rgb(0xEC, 0xEB, 0xE6)).Row(20, 0, 73, Rgb(0xE2, 0xDF, 0xD6));
  p.Row(21, 0, 73, Rgb(0xD6, 0xD0, 0xC5));
  return p;
}

Picture NormalLook() {
  Picture p = NormalFace();
  Outline(p);
  return p;
}

Picture HoverLook() {
  Picture p = NormalFace();
  p.Row(1, 2, 72, Rgb(0xFF, 0xF0, 0xCF)).Row(2, 1, 73, Rgb(0xFD, 0xD8, 0x89));
  for (int y = 2; y <= 20; ++y) {  // outer sides settle at #EEAF2A from row 18 on
    const int m = std::min(y - 2, 16);
    const ColorRef c = Rgb(254 - m, 223 - 3 * m, 154 - 7 * m);
    p.Set(1, y, c).Set(73, y, c);
  }
  for (int y = 3; y <= 20; ++y) {  // inner sides settle at #F3AE31 from row 12 on
    const int m = std::min(y - 3, 9);
    const ColorRef c = Rgb(252 - m, 210 - 4 * m, 121 - 8 * m);
    p.Set(2, y, c).Set(72, y, c);
  }
  p.Row(20, 3, 73, Rgb(0xF3, 0xAE, 0x31)).Row(21, 2, 72, Rgb(0xE5, 0x97, 0x00));
  Outline(p);
  return p;
}

Picture FocusLook() {
  Picture p = NormalFace();
  p.Row(1, 2, 72, Rgb(0xCE, 0xE7, 0xFB)).Row(2, 1, 73, Rgb(0xBC, 0xD4, 0xF6));
  for (int y = 3; y <= 19; ++y) {  // two pixels wide on each side
    const int m = y - 3;
    const ColorRef c = Rgb(186 - 4 * m, 211 - 3 * m, 246 - m);
    p.Fill(1, y, 2, y, c).Fill(72, y, 73, y, c);
  }
  p.Row(20, 1, 72, Rgb(186 - 4 * 17, 211 - 3 * 17, 246 - 17));  // after 17 side rows
  p.Set(2, 21, Rgb(0x4D, 0x7D, 0xC1)).Row(21, 3, 71, Rgb(0x61, 0x7D, 0xE5));
  p.Set(72, 21, Rgb(0x4D, 0x7D, 0xC1));
  Outline(p);
  return p;
}

Picture PressedLook() {
  Picture p(W, H);
  p.Row(1, 0, 73, Rgb(0xD1, 0xCC, 0xC0)).Row(2, 0, 73, Rgb(0xDC, 0xD8, 0xCF));
  p.Fill(0, 3, 73, 4, Rgb(0xE2, 0xE1, 0xDA));   // first band
  p.Fill(0, 5, 73, 19, Rgb(0xE1, 0xE0, 0xD9));  // bands at rows 7, 11, 15 and 19
  p.Row(20, 0, 73, Rgb(0xEA, 0xE9, 0xE3)).Row(21, 0, 73, Rgb(0xF2, 0xF1, 0xEE));
  Outline(p);
  return p;
}

Picture DisabledLook() {
  const ColorRef A = Rgb(0xD8, 0xD5, 0xC7), C = Rgb(0xEA, 0xE9, 0xDE);
  Picture p(W, H);
  p.Fill(0, 0, W - 1, H - 1, Rgb(0xF5, 0xF4, 0xEA));
  const ColorRef F = Rgb(0xC9, 0xC7, 0xBA);
  p.Row(0, 0, W - 1, F)
      .Row(H - 1, 0, W - 1, F)
      .Fill(0, 0, 0, H - 1, F)
      .Fill(W - 1, 0, W - 1, H - 1, F);
  p.Set(0, 1, A).Set(1, 1, A).Set(1, 0, A).Set(1, 2, C).Set(2, 1, C);
  p.Set(73, 0, A).Set(73, 1, A).Set(74, 1, A).Set(72, 1, C).Set(73, 2, C);
  p.Set(0, 21, A).Set(1, 21, A).Set(1, 22, A).Set(1, 20, C).Set(2, 21, C);
  p.Set(74, 21, A).Set(73, 21, A).Set(73, 22, A).Set(73, 20, C).Set(72, 21, C);
  p.Ignore(0, 0).Ignore(74, 0).Ignore(0, 22).Ignore(74, 22);
  return p;
}

// A shown 75 x 23 button with an empty caption, driven directly through its state flags so that
// each look can be requested on its own.
struct LookTest : ButtonFixture {
  ButtonState Flags(int16_t enabled, int16_t hovering, int16_t focus, int16_t last_button) {
    ButtonState s = button.state();
    s.caption.clear();
    s.is_enabled = enabled;
    s.is_hovering = hovering;
    s.has_focus = focus;
    s.last_button = last_button;
    return s;
  }
};

struct LookCase {
  const char* name;
  int16_t enabled, hovering, focus, last_button, down;
  Picture (*expected)();
};

TEST_F(LookTest, EachStateDrawsItsLook) {
  const LookCase cases[] = {
      {"normal", kTrue, kFalse, kFalse, 0, 0, NormalLook},
      {"hover", kTrue, kTrue, kFalse, 0, 0, HoverLook},
      {"focus", kTrue, kFalse, kTrue, 0, 0, FocusLook},
      {"hover wins over focus", kTrue, kTrue, kTrue, 0, 0, HoverLook},
      {"pressed", kTrue, kFalse, kFalse, kLeftButton, 1, PressedLook},
      {"pressed shows no highlight", kTrue, kTrue, kTrue, kLeftButton, 1, PressedLook},
      {"released after a left press", kTrue, kFalse, kTrue, kLeftButton, 0, FocusLook},
      {"down after a right press is released", kTrue, kFalse, kTrue, kRightButton, 1, FocusLook},
      {"down after a middle press is released", kTrue, kTrue, kFalse, kMiddleButton, 1, HoverLook},
      {"disabled", kFalse, kFalse, kFalse, 0, 0, DisabledLook},
      {"disabled while hovering and focused", kFalse, kTrue, kTrue, kLeftButton, 1, DisabledLook},
  };
  for (const LookCase& c : cases) {
    SCOPED_TRACE(c.name);
    Repaint(Flags(c.enabled, c.hovering, c.focus, c.last_button), c.down, host);
    EXPECT_TRUE(c.expected().Matches(surface()));
  }
}

TEST_F(LookTest, NothingOfThePreviousPictureSurvives) {
  Repaint(Flags(kTrue, kTrue, kFalse, kLeftButton), 1, host);
  Repaint(Flags(kFalse, kFalse, kFalse, 0), 0, host);
  Repaint(Flags(kTrue, kFalse, kFalse, 0), 0, host);
  EXPECT_TRUE(NormalLook().Matches(surface()));
}

TEST_F(LookTest, WindowShapeCutsTheFourCorners) {
  const Region& shape = host.window_shape();
  for (Point p : {Point{0, 0}, Point{74, 0}, Point{0, 22}, Point{74, 22}, Point{75, 5},
                  Point{5, 23}, Point{-1, 5}})
    EXPECT_FALSE(shape.Contains(p)) << p.x << "," << p.y;
  for (Point p : {Point{1, 0}, Point{0, 1}, Point{73, 0}, Point{74, 1}, Point{0, 21}, Point{1, 22},
                  Point{74, 21}, Point{73, 22}, Point{37, 11}})
    EXPECT_TRUE(shape.Contains(p)) << p.x << "," << p.y;
}

TEST_F(LookTest, ResizeRebuildsGeometryAndShape) {
  host.SetSize(40, 30);
  button.Resize();
  EXPECT_EQ(button.state().geometry.x_right, 39);
  EXPECT_EQ(button.state().geometry.y_bottom, 30);
  EXPECT_FALSE(host.window_shape().Contains({39, 29}));
  EXPECT_TRUE(host.window_shape().Contains({38, 29}));
  // The outline follows the new size: last column and last row.
  EXPECT_EQ(surface().Pixel(39, 15), Rgb(0x00, 0x3C, 0x74));
  EXPECT_EQ(surface().Pixel(20, 29), Rgb(0x00, 0x3C, 0x74));
}

TEST_F(LookTest, ShortControlsDrawWhatFits) {
  // Five rows: no gradient row, and the hover row above the bottom keeps the first inner
  // colour because no inner side row was drawn.
  host.SetSize(20, 5);
  button.Resize();
  for (int32_t y = 0; y < 5; ++y)
    for (int32_t x = 0; x < 20; ++x) EXPECT_NE(surface().Pixel(x, y), Rgb(0xFF, 0xFF, 0xFD));
  Repaint(Flags(kTrue, kTrue, kFalse, 0), 0, host);
  EXPECT_EQ(surface().Pixel(5, 2), Rgb(0xFC, 0xD2, 0x79));
  EXPECT_EQ(surface().Pixel(5, 3), Rgb(0xE5, 0x97, 0x00));

  // Degenerate sizes clip everything and leave an empty shape.
  for (auto [w, h] : {std::pair{1, 1}, std::pair{0, 0}, std::pair{3, 0}}) {
    host.SetSize(w, h);
    EXPECT_NO_THROW(button.Resize());
    EXPECT_FALSE(host.window_shape().Contains({0, 0}));
  }
}

// ---- Caption --------------------------------------------------------------------------------

TEST(CaptionBoxTest, CentresVerticallyRoundingHalvesToEven) {
  struct Case {
    int32_t surface_height, text_height, top, bottom;
  } cases[] = {
      {23, 16, 4, 20},  // 3.5 -> 4 and 19.5 -> 20
      {25, 16, 4, 20},  // 4.5 -> 4 and 20.5 -> 20
      {23, 13, 5, 18},  // whole numbers stay
      {21, 16, 2, 18},  // 2.5 -> 2 and 18.5 -> 18
      {23, 0, 12, 12},  // 11.5 -> 12
      {10, 30, -10, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.surface_height) + "/" + std::to_string(c.text_height));
    EXPECT_EQ(CaptionBox(75, c.surface_height, c.text_height), (Rect{0, c.top, 75, c.bottom}));
  }
}

TEST_F(ButtonFixture, CaptionIsMeasuredAtClientWidthAndDrawnInTheCentredBox) {
  host.text_height = 16;
  button.SetCaption("&Save");
  ASSERT_TRUE(host.last_text);
  EXPECT_EQ(host.last_text->text, "&Save");
  EXPECT_EQ(host.last_text->measured_width, 75);
  EXPECT_EQ(host.last_text->box, (Rect{0, 4, 75, 20}));

  host.SetSize(75, 25);
  button.Resize();
  EXPECT_EQ(host.last_text->box, (Rect{0, 4, 75, 20}));
}

TEST_F(ButtonFixture, CaptionColourFollowsState) {
  const ColorRef fore = Rgb(10, 20, 30), hover = Rgb(200, 100, 0);
  button.SetForeColor(fore);
  EXPECT_EQ(host.last_text->color, fore);

  button.SetForeHover(hover);  // stored, not drawn until the next repaint
  EXPECT_EQ(host.last_text->color, fore);

  host.pointer_over = true;
  button.MouseMove(0, 0, 1, 1);
  EXPECT_EQ(host.last_text->color, hover);

  // A left drag onto the control draws the pressed look in the hover colour.
  button.LostFocus();
  host.pointer_over = false;
  button.TimerTick();
  button.MouseDown(kLeftButton, 0, 1, 1);
  EXPECT_EQ(host.last_text->color, fore);
  host.pointer_over = true;
  button.MouseMove(kLeftButton, 0, 2, 2);
  EXPECT_EQ(host.last_text->color, hover);
  EXPECT_EQ(button.state().is_hovering, kFalse);
  EXPECT_EQ(surface().Pixel(30, 1), Rgb(0xD1, 0xCC, 0xC0));

  // Disabled: grey, even while hovering.
  host.pointer_over = false;
  button.TimerTick();
  host.pointer_over = true;
  button.MouseMove(0, 0, 3, 3);
  ASSERT_EQ(button.state().is_hovering, kTrue);
  button.SetEnabled(false);
  EXPECT_EQ(host.last_text->color, Rgb(0xA1, 0xA1, 0x92));

  // A system colour reference is passed on as stored.
  button.SetEnabled(true);
  button.LostFocus();
  button.SetForeColor(SystemColor(kSysButtonText));
  EXPECT_EQ(host.last_text->color, 0x80000012u);
}

TEST_F(ButtonFixture, NewInstanceHoversInBlack) {
  host.pointer_over = true;
  button.MouseMove(0, 0, 1, 1);
  EXPECT_EQ(host.last_text->color, Rgb(0, 0, 0));
}

}  // namespace
}  // namespace velnor::test
