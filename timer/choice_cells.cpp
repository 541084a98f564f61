// Cell positions of the bar for narrow and wide screens, and the mapping of
// a tap's x position to the duration it chooses.
#include "timer/choice_cells.h"

const int ChoiceMinutes[CHOICE_COUNT] = {15, 30, 45, 60, 120, 180, 0};

static const int NarrowWidth = 34;
static const int NarrowLeft[CHOICE_COUNT] = {0, 34, 68, 102, 136, 170, 204};
static const int WideWidth = 46;
static const int WideLeft[CHOICE_COUNT] = {0, 47, 93, 139, 185, 231, 277};

void ChooseChoiceCells(int screenWidth, ChoiceCells* cells) {
  bool narrow = screenWidth <= NARROW_SCREEN_WIDTH;
  cells->Width = narrow ? NarrowWidth : WideWidth;
  for (int i = 0; i < CHOICE_COUNT; ++i) cells->Left[i] = narrow ? NarrowLeft[i] : WideLeft[i];
}

int DurationAtTap(const ChoiceCells* cells, int x) {
  if (x > cells->Left[CHOICE_CANCEL]) return 0;
  for (int i = 0; i < CHOICE_CANCEL; ++i) {
    if (cells->Left[i] + 1 < x && x <= cells->Left[i + 1] + 1) return ChoiceMinutes[i];
  }
  return 0;
}
