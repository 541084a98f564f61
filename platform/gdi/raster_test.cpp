// The raster core under the coordinates a program may pass: any int is
// drawn clipped, with no overflow and no walk over pixels off the surface.
#include <gtest/gtest.h>

#include <climits>

#include "raster.h"

namespace {

using platform::Canvas;
using platform::Pixel;
using platform::Surface;

constexpr Pixel kInk = 0x123456;

int Inked(const Surface& surface) {
  int count = 0;
  for (int y = 0; y < surface.height(); ++y)
    for (int x = 0; x < surface.width(); ++x) count += surface.at(x, y) == kInk;
  return count;
}

TEST(Raster, ExtremeCoordinatesAreClippedWithoutOverflow) {
  Surface surface(8, 6, 0);
  Canvas canvas(surface, POINT{3, 2}, RECT{0, 0, 8, 6});
  canvas.Plot(INT_MAX, INT_MAX, kInk);
  canvas.Plot(INT_MIN, INT_MIN, kInk);
  canvas.Blend(INT_MAX, 0, kInk, 255);
  canvas.Fill(RECT{INT_MAX - 1, 0, INT_MAX, 4}, kInk);
  EXPECT_EQ(Inked(surface), 0);

  canvas.HLine(INT_MIN, INT_MAX, 0, kInk);
  EXPECT_EQ(Inked(surface), 8);
  canvas.VLine(0, INT_MAX, INT_MIN, kInk);
  EXPECT_EQ(Inked(surface), 8 + 5);
  canvas.Fill(RECT{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, kInk);
  EXPECT_EQ(Inked(surface), 48);

  Surface dots(8, 6, 0);
  Canvas dotted(dots, POINT{3, 2}, RECT{0, 0, 8, 6});
  // The outline lies off the surface but for its left edge at x = -3 + 3 = 0:
  // every other pixel of that column, counted from the corner far above.
  dotted.DottedFrame(RECT{-3, INT_MIN, INT_MAX, INT_MAX}, kInk);
  EXPECT_EQ(Inked(dots), 3);
  EXPECT_EQ(dots.at(0, 0), kInk);
  EXPECT_EQ(dots.at(0, 1), 0u);

  Surface source(2, 2, kInk);
  Surface target(8, 6, 0);
  Canvas blitted(target, POINT{3, 2}, RECT{0, 0, 8, 6});
  blitted.Blit(source, INT_MAX, INT_MAX, 2, 2, 0, 0, 2, 2);
  blitted.Blit(source, 0, 0, 2, 2, INT_MAX, INT_MAX, INT_MAX, INT_MAX);
  EXPECT_EQ(Inked(target), 0);
  blitted.Blit(source, 0, 0, INT_MAX, INT_MAX, INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  Canvas far = blitted.Sub(INT_MAX, INT_MAX, RECT{INT_MIN, INT_MIN, INT_MAX, INT_MAX});
  far.Fill(RECT{0, 0, 1, 1}, kInk);
  EXPECT_EQ(Inked(target), 0);
}

}  // namespace
