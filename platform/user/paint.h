// The screen surface that programs paint on (GetDC, BeginPaint), of the
// device's size, and where each window's client area lies on it. The
// screen's composition from every program's windows is display/screen.h's.
#pragma once

#include "../gdi/raster.h"
#include "window_model.h"

namespace platform {

// The phone's background where no window lies: its Today screen's white.
constexpr Pixel kDesktop = 0xFFFFFF;

// The screen's pixels, of the device's size.
Surface& ScreenSurface();

// The part of a window where its client area lies on the screen (inside its
// frame), and the part of that which is visible through its ancestors.
RECT ClientRectOnScreen(HWND window);
RECT VisibleClientRect(HWND window);

// The colour a window's background takes: a dialog's from its answer to
// WM_CTLCOLORDLG, any other white.
Pixel BackgroundOf(Window* w, HDC dc);

}  // namespace platform
