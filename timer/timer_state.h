// The timer's process-wide state: what the command line asked for, what the
// store held at start, and the layout that the screen width chose. Set once
// at start-up; only the tick count changes while the bar is up.
#pragma once

#include <windows.h>

#include "timer/choice_cells.h"
#include "timer/command_line.h"

// The install folder, and a picture's path in it ("\180.bmp" is the longest name).
#define INSTALL_FOLDER_SIZE 260
#define PICTURE_PATH_SIZE (INSTALL_FOLDER_SIZE + 16)

struct TimerState {
  HINSTANCE Instance;
  TimerCommand Command;
  ChoiceCells Cells;
  BOOL SwitchPending;  // fixed for the run: only the 0 cell answers taps
  WCHAR InstallFolder[INSTALL_FOLDER_SIZE];
  WCHAR PicturePaths[CHOICE_COUNT][PICTURE_PATH_SIZE];  // empty: not drawn
  LONG PictureWidth;  // size of the 0 picture, which centres all seven
  LONG PictureHeight;
  HBRUSH Background;  // the bar's one brush, for every colour request
  HWND Bar;
  HWND SwitchText;
  int Ticks;
};

extern TimerState Timer;

// Background of the bar and of its text; the text itself is white.
#define BAR_COLOUR RGB(140, 165, 200)
#define BAR_TEXT_COLOUR RGB(255, 255, 255)
// The colour that pictures leave transparent.
#define PICTURE_TRANSPARENT RGB(255, 0, 255)
