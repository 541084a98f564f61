// The phone's user input: taps routed to the window under the stylus (or to
// the shell's bars), characters into the focused control, the shell's "ok".
// The display back end and the automation script both deliver through here.
#pragma once

#include <functional>

#include "include/winuser.h"

namespace platform {

// A tap at screen pixel (x, y).
void DeliverTap(int x, int y);
// A tap at the centre of a control (or any window).
void TapWindow(HWND window);
// A character typed on the keyboard or the input panel, into the focus.
void DeliverChar(WCHAR c);
// The shell's "ok" (Done) of the foreground dialog: command IDOK.
void PressShellOk();
// The window a tap at (x, y) reaches: the top-most visible window there and
// its deepest visible child, passing through group boxes and labels as
// Windows does; null when nothing takes the tap (a disabled control).
HWND WindowAtPoint(int x, int y);

// Taps on the shell's bars outside the "ok" button (the input panel button,
// the clock) go to this handler, which the shell painter installs.
void SetShellBarTapHandler(std::function<void(int x, int y)> handler);

// Whether the input panel is raised; SipShowIM sets it, dumps report it.
bool InputPanelShown();
void SetInputPanelShown(bool shown);

}  // namespace platform
