// The timer's command line: back mode, target mode, bar height and bar top,
// laid out by fixed offsets as in "2:3 24:150".
#pragma once

#include <windows.h>

struct TimerCommand {
  DWORD BackMode;    // mode to return to; stored as "ModeBackTemp"
  DWORD TargetMode;  // mode whose key receives the temporary end time
  LONG BarHeight;    // height of the bar's inside in pixels
  LONG BarTop;       // top edge of the bar's inside in pixels
};

#define DEFAULT_BACK_MODE 1
#define DEFAULT_TARGET_MODE 1
#define DEFAULT_BAR_HEIGHT 24
#define DEFAULT_BAR_TOP 150

// Takes the four fields from their fixed places: the back mode is the first
// character alone, the target mode the text after the first colon, the
// height the two characters three after that colon, the top the text after
// the second colon. A field whose place lies beyond the end of the text keeps
// its default, so a short line such as "2:" is never read past its end.
void ParseTimerCommand(LPCWSTR commandLine, TimerCommand* command);
