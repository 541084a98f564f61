// The phone's screen: one surface of the device's size, painted afresh from
// the windows (back to front), the open drop-down lists, the shell's bars
// and the input panel; the display back ends and screenshots show it.
#pragma once

#include <string>

#include "raster.h"

namespace platform {

// The screen's pixels, of the device's size.
Surface& ScreenSurface();
// Paints the whole screen and returns it.
const Surface& PaintScreen();
// Paints the screen and writes it as a PNG file.
bool SaveScreenshot(const std::string& path, std::string* error);
// The part of a window where its client area lies on the screen (inside its
// frame), and the part of that which is visible through its ancestors.
RECT ClientRectOnScreen(HWND window);
RECT VisibleClientRect(HWND window);

}  // namespace platform
