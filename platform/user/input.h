// Taps on this program's windows: the window under the stylus, and a tap
// posted to it. Taps from the user arrive through display/taps.h, which
// offers them to the shell first.
#pragma once

#include <windows.h>

namespace platform {

// A tap at screen pixel (x, y) posted to `window`, as a button press and
// release in its client coordinates.
void PostTap(HWND window, LONG screenX, LONG screenY);
// A tap at the centre of a control (or any window).
void TapWindow(HWND window);
// The window a tap at (x, y) reaches: the top-most visible window there and
// its deepest visible child, passing through group boxes and labels as
// Windows does; null when nothing takes the tap (a disabled control).
HWND WindowAtPoint(int x, int y);

}  // namespace platform
