#include "velnor/toolbox_icon.h"

namespace velnor {
namespace {

// Colours of the 16-colour palette.
constexpr ColorRef kBlack = Rgb(0, 0, 0);
constexpr ColorRef kNavy = Rgb(0, 0, 128);
constexpr ColorRef kBlue = Rgb(0, 0, 255);
constexpr ColorRef kSilver = Rgb(192, 192, 192);
constexpr ColorRef kGrey = Rgb(128, 128, 128);
constexpr ColorRef kWhite = Rgb(255, 255, 255);
constexpr ColorRef kYellow = Rgb(255, 255, 0);
constexpr ColorRef kOlive = Rgb(128, 128, 0);
constexpr ColorRef kRed = Rgb(255, 0, 0);

}  // namespace

Surface ToolboxBitmap() {
  Surface s(kToolboxBitmapWidth, kToolboxBitmapHeight, kSilver);
  // The window: white client area, navy title bar with a lighter end, black frame.
  s.FillRect({0, 1, 13, 14}, kWhite);
  s.FillRect({1, 2, 12, 5}, kNavy);
  s.FillRect({8, 2, 12, 5}, kBlue);
  s.SetPixel(10, 3, kWhite);
  s.FrameRect({0, 1, 13, 14}, kBlack);
  // Lines of text in the window.
  s.DrawLine({kGrey, 1}, {2, 7}, {8, 7});
  s.DrawLine({kGrey, 1}, {2, 9}, {6, 9});
  s.DrawLine({kGrey, 1}, {2, 11}, {5, 11});
  // The pencil, lying from the top right corner down towards the lower left.
  s.DrawLine({kYellow, 2}, {15, 4}, {8, 11});
  s.DrawLine({kOlive, 1}, {15, 5}, {9, 11});
  s.SetPixel(15, 3, kRed);
  s.SetPixel(14, 3, kRed);
  s.SetPixel(15, 4, kRed);
  s.SetPixel(8, 11, kOlive);
  s.SetPixel(7, 12, kBlack);
  return s;
}

}  // namespace velnor
