// The Today screen's process-wide state: its window and lines, what it last
// showed, and what it keeps between ticks to switch each minute once.
#pragma once

#include <windows.h>

// Room for the install folder ("DLL" is read into a 200-byte buffer).
#define TODAY_FOLDER_SIZE 100
// Room for a mode name read from the store (a 100-byte buffer).
#define TODAY_NAME_SIZE 50
// Room for a line of text on the screen.
#define TODAY_LINE_SIZE 128

// The item's place in the window, in window pixels: the active mode's
// picture and lines, then the row of the five modes' pictures.
#define TODAY_HEADER_HEIGHT 44
#define TODAY_ITEM_TOP 48
#define TODAY_PICTURE_SIZE 24
#define TODAY_ROW_TOP 84
// A row cell: the picture, then the mode's name under it.
#define TODAY_ROW_HEIGHT 42
#define TODAY_ROW_PICTURE_TOP (TODAY_ROW_TOP + 2)
#define TODAY_ROW_NAME_TOP (TODAY_ROW_PICTURE_TOP + TODAY_PICTURE_SIZE + 1)
// The mark behind the active mode's picture in the row: this much wider
// than the picture on each side, the row's height high.
#define TODAY_MARK_MARGIN 4
#define TODAY_ITEM_BOTTOM (TODAY_ROW_TOP + TODAY_ROW_HEIGHT)
// The timer bar that a tap on the row starts, just below the item.
#define TODAY_BAR_HEIGHT 24

#define TODAY_TICK_TIMER 1
#define TODAY_TICK_MS 1000

// The colours of the screen.
#define TODAY_BACKGROUND RGB(255, 255, 255)
#define TODAY_RULE_COLOUR RGB(140, 165, 200)
#define TODAY_MARK_COLOUR RGB(214, 226, 240)

struct TodayState {
  HINSTANCE Instance;
  HWND Screen;
  HBRUSH Background;
  HBRUSH Rule;
  HBRUSH Mark;
  WCHAR InstallFolder[TODAY_FOLDER_SIZE];
  // The mode the screen shows, "DefaultMode" when it was last read.
  DWORD ActiveMode;
  // The last minute (MinuteIndex) whose switches were looked at, 0 until
  // the phone has come on; each minute's switches are made once.
  DWORD CheckedThrough;
  // The minute the clock line shows, and whether the second line showed a
  // pending temporary switch then; the next switch is worked out again
  // when either changes, when the active mode does, or when NextSwitchStale.
  DWORD ShownMinute;
  BOOL ShowedPending;
  BOOL NextSwitchStale;
  // "TimeSwitch" as the last tick left it: the timer bar and the settings
  // program change it whenever they set or end a temporary switch.
  DWORD SeenTimeSwitch;
  // The settings program the item started, until it ends.
  HANDLE SettingsProcess;
  // The notice of the last automatic switch, while NoticeShown, until the
  // tick count NoticeUntil.
  WCHAR Notice[TODAY_LINE_SIZE];
  DWORD NoticeUntil;
  BOOL NoticeShown;
  // The timer bar the item started last, until it ends.
  HANDLE TimerProcess;
};

extern TodayState Today;
