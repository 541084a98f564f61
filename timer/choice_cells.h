// The seven choice cells of the bar (15, 30, 45, 60, 120, 180 minutes, then
// 0 to cancel), laid out by screen width, and which one a tap falls in.
#pragma once

#include <windows.h>

#define CHOICE_COUNT 7
#define CHOICE_CANCEL (CHOICE_COUNT - 1)  // the 0 cell, last in the row

// Minutes of each cell in row order; the cancel cell's is 0.
extern const int ChoiceMinutes[CHOICE_COUNT];

struct ChoiceCells {
  int Width;               // width of every cell
  int Left[CHOICE_COUNT];  // x of each cell in the bar, in row order
};

// Screens up to this width take the narrow cells.
#define NARROW_SCREEN_WIDTH 240

void ChooseChoiceCells(int screenWidth, ChoiceCells* cells);

// The minutes that a tap at x in the bar chooses, or 0 for cancel. Each
// duration takes the x positions one pixel right of its cell's left edge up
// to one pixel right of the next cell's, the bar's border being one pixel
// wide; anything right of the cancel cell's left edge, and the two leftmost
// pixels, cancel.
int DurationAtTap(const ChoiceCells* cells, int x);
