// The phone's shell around the program's windows: the top bar (title, clock,
// "ok" of a Done dialog) and the menu bar with the input panel's button.
#pragma once

#include "raster.h"
#include "shared_screen.h"

namespace platform {

constexpr int kTopBarHeight = 26;
constexpr int kMenuBarHeight = 26;

// Paints both bars at their places on the screen, as they are for the top
// program; OwnShellBars says how they are for this one.
void PaintShellBars(Canvas& screen, const ShellBarState& bars);
ShellBarState OwnShellBars();
// The "ok" button of the top bar, and the keyboard button of the menu bar.
RECT ShellOkRect();
RECT InputPanelButtonRect();
// A tap at screen pixel (x, y) on the shell (bars or keyboard): carries it
// out and returns true; false when the tap belongs to the program's windows.
bool TapShell(int x, int y);
// The shell's "ok": command 1 to the foreground dialog that has a Done
// button. False when there is none.
bool PressShellOk();

// True once the program plays the Today screen (ShellStartTimedPrograms)
// and its automation script is done: headless, the phone is then switched off.
bool PhoneSwitchedOffByScript();

}  // namespace platform
