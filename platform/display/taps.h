// Taps of the phone's user, from the host window, the automation script or
// another program: for the program whose layer lies under the stylus (or
// that owns the shell's bars), and there offered to the shell first (bars,
// input panel, open drop-down list), then to the window under the stylus.
#pragma once

namespace platform {

// A tap at screen pixel (x, y): for the program whose layer lies there (or
// that owns the shell's bars, the top one); in this program, the shell's, or
// the window's that lies there (DeliverOwnTap).
void DeliverTap(int x, int y);
void DeliverOwnTap(int x, int y);

}  // namespace platform
