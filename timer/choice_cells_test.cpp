// Which duration a tap chooses at each screen width: the edges of every
// cell, one pixel right of its left edge, and the cancel area.
#include <gtest/gtest.h>

#include "timer/choice_cells.h"

namespace {

int DurationAt(int screenWidth, int x) {
  ChoiceCells cells;
  ChooseChoiceCells(screenWidth, &cells);
  return DurationAtTap(&cells, x);
}

TEST(ChoiceCells, NarrowScreenBoundariesLieOnePixelRightOfEachCell) {
  EXPECT_EQ(DurationAt(240, 1), 0);
  EXPECT_EQ(DurationAt(240, 2), 15);
  EXPECT_EQ(DurationAt(240, 35), 15);
  EXPECT_EQ(DurationAt(240, 36), 30);
  EXPECT_EQ(DurationAt(240, 103), 45);
  EXPECT_EQ(DurationAt(240, 104), 60);
  EXPECT_EQ(DurationAt(240, 137), 60);
  EXPECT_EQ(DurationAt(240, 138), 120);
  EXPECT_EQ(DurationAt(240, 204), 180);
  EXPECT_EQ(DurationAt(240, 205), 0);
  EXPECT_EQ(DurationAt(240, 239), 0);
  EXPECT_EQ(DurationAt(176, 36), 30);
}

TEST(ChoiceCells, WideScreensTakeTheWideCells) {
  EXPECT_EQ(DurationAt(241, 36), 15);
  EXPECT_EQ(DurationAt(320, 48), 15);
  EXPECT_EQ(DurationAt(320, 49), 30);
  EXPECT_EQ(DurationAt(320, 94), 30);
  EXPECT_EQ(DurationAt(320, 95), 45);
  EXPECT_EQ(DurationAt(320, 232), 120);
  EXPECT_EQ(DurationAt(320, 233), 180);
  EXPECT_EQ(DurationAt(320, 277), 180);
  EXPECT_EQ(DurationAt(320, 278), 0);
  EXPECT_EQ(DurationAt(480, 400), 0);
}

}  // namespace
