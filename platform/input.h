// Taps of the phone's user: offered to the shell first (bars, input panel),
// then routed to the window under the stylus. The display back end and the
// automation script both deliver through here.
#pragma once

#include "include/winuser.h"

namespace platform {

// A tap at screen pixel (x, y): the shell's, or the window's that lies there.
void DeliverTap(int x, int y);
// A tap at the centre of a control (or any window).
void TapWindow(HWND window);
// The window a tap at (x, y) reaches: the top-most visible window there and
// its deepest visible child, passing through group boxes and labels as
// Windows does; null when nothing takes the tap (a disabled control).
HWND WindowAtPoint(int x, int y);

}  // namespace platform
