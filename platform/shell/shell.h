// The phone's shell around the program's windows: the top bar (title, clock,
// "ok" of a Done dialog) and the menu bar with the input panel's button.
#pragma once

#include <string>

#include "../gdi/raster.h"
#include "../user/metrics.h"

namespace platform {

// What the shell's bars show for a program: its foreground window's title,
// "ok" for a Done dialog, the keyboard button up or down.
struct ShellBarState {
  std::u16string title;
  bool done = false;
  bool inputPanel = false;
};

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


}  // namespace platform
