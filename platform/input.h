// Taps of the phone's user: offered to the shell first (bars, input panel),
// then routed to the window under the stylus. The display back end and the
// automation script both deliver through here.
#pragma once

#include "include/winuser.h"

namespace platform {

// A tap at screen pixel (x, y): for the program whose layer lies there (or
// that owns the shell's bars, the top one); in this program, the shell's, or
// the window's that lies there (DeliverOwnTap).
void DeliverTap(int x, int y);
void DeliverOwnTap(int x, int y);
// A tap at the centre of a control (or any window).
void TapWindow(HWND window);
// The window a tap at (x, y) reaches: the top-most visible window there and
// its deepest visible child, passing through group boxes and labels as
// Windows does; null when nothing takes the tap (a disabled control).
HWND WindowAtPoint(int x, int y);

}  // namespace platform
