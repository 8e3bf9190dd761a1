// The drawing operations of the pixel surface: which pixels each one paints.
#include "velnor/surface.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "velnor/region.h"

namespace velnor {
namespace {

constexpr ColorRef kBg = Rgb(1, 1, 1);
constexpr ColorRef kInk = Rgb(200, 10, 10);

using Pixels = std::set<std::pair<int, int>>;

Pixels Painted(const Surface& s) {
  Pixels out;
  for (int32_t y = 0; y < s.height(); ++y)
    for (int32_t x = 0; x < s.width(); ++x)
      if (s.Pixel(x, y) == kInk) out.insert({x, y});
  return out;
}

struct LineCase {
  const char* name;
  int32_t width;
  Point from, to;
  Pixels expected;
};

TEST(SurfaceTest, LinesPaintTheirStartButNotTheirEnd) {
  const LineCase cases[] = {
      {"horizontal", 1, {2, 3}, {5, 3}, {{2, 3}, {3, 3}, {4, 3}}},
      {"leftwards", 1, {5, 3}, {2, 3}, {{5, 3}, {4, 3}, {3, 3}}},
      {"vertical one pixel", 1, {4, 2}, {4, 3}, {{4, 2}}},
      {"upwards", 1, {4, 4}, {4, 2}, {{4, 4}, {4, 3}}},
      {"zero length", 1, {4, 4}, {4, 4}, {}},
      {"end just before start", 1, {0, 1}, {-1, 1}, {{0, 1}}},
      {"diagonal", 1, {1, 1}, {4, 4}, {{1, 1}, {2, 2}, {3, 3}}},
      {"clipped at the edges", 1, {-3, 0}, {3, 0}, {{0, 0}, {1, 0}, {2, 0}}},
      {"outside entirely", 1, {-5, -1}, {5, -1}, {}},
      // Wide pens thicken across the line, centred, and do not extend its ends.
      {"width 2 vertical", 2, {4, 2}, {4, 3}, {{3, 2}, {4, 2}}},
      {"width 2 horizontal", 2, {1, 3}, {3, 3}, {{1, 2}, {2, 2}, {1, 3}, {2, 3}}},
      {"width 4 horizontal",
       4,
       {1, 4},
       {3, 4},
       {{1, 2}, {2, 2}, {1, 3}, {2, 3}, {1, 4}, {2, 4}, {1, 5}, {2, 5}}},
      {"width 4 clipped at the top", 4, {0, 0}, {2, 0}, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.name);
    Surface s(8, 8, kBg);
    s.DrawLine(Pen{kInk, c.width}, c.from, c.to);
    EXPECT_EQ(Painted(s), c.expected);
  }
}

TEST(SurfaceTest, RectanglesCoverRightAndBottomExclusive) {
  Surface s(6, 5, kBg);
  s.FillRect({1, 1, 3, 4}, kInk);
  EXPECT_EQ(Painted(s), (Pixels{{1, 1}, {2, 1}, {1, 2}, {2, 2}, {1, 3}, {2, 3}}));

  Surface f(6, 5, kBg);
  f.FrameRect({0, 0, 4, 3}, kInk);
  EXPECT_EQ(
      Painted(f),
      (Pixels{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 1}, {3, 1}, {0, 2}, {1, 2}, {2, 2}, {3, 2}}));

  // Inverted and empty rectangles paint nothing.
  Surface e(6, 5, kBg);
  e.FillRect({3, 1, 1, 4}, kInk);
  e.FrameRect({3, 1, 1, 4}, kInk);
  e.FrameRect({1, 1, 4, 1}, kInk);
  EXPECT_TRUE(Painted(e).empty());
}

TEST(SurfaceTest, ClearAndResizeRestoreTheBackground) {
  Surface s(3, 2, kBg);
  s.SetPixel(1, 1, kInk);
  s.SetPixel(7, 7, kInk);  // clipped
  EXPECT_EQ(Painted(s), (Pixels{{1, 1}}));
  s.Clear();
  EXPECT_TRUE(Painted(s).empty());
  s.SetBackground(kInk);
  s.Resize(2, 2);
  EXPECT_EQ(Painted(s).size(), 4u);
  EXPECT_THROW((void)s.Pixel(2, 0), std::out_of_range);
}

TEST(RegionTest, RectangleMinusCuts) {
  Region r(Rect{0, 0, 4, 3});
  r.Subtract({0, 0, 1, 1});
  r.Subtract({3, 2, 9, 9});      // clipped to the region
  r.Subtract({10, 10, 11, 11});  // outside: nothing
  EXPECT_EQ(r.cuts().size(), 2u);
  EXPECT_FALSE(r.Contains({0, 0}));
  EXPECT_FALSE(r.Contains({3, 2}));
  EXPECT_FALSE(r.Contains({4, 0}));
  EXPECT_TRUE(r.Contains({1, 0}));
  EXPECT_TRUE(r.Contains({3, 1}));
}

}  // namespace
}  // namespace velnor
