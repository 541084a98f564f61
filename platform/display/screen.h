// The phone's screen: one surface of the device's size, painted afresh from
// the layers of the programs on it (shared_screen.h), this program's own
// being its windows (back to front), its open drop-down list and its input
// panel, then the shell's bars; the display back ends and screenshots show it.
#pragma once

#include <string>
#include <vector>

#include "../gdi/raster.h"
#include "../user/paint.h"

namespace platform {

// Paints the whole screen and returns it.
const Surface& PaintScreen();
// Paints the screen and writes it as a PNG file.
bool SaveScreenshot(const std::string& path, std::string* error);
// Where this program's layer covers the screen: its visible top-level
// windows, its open drop-down list and its input panel.
std::vector<RECT> CoveredScreenRects();

}  // namespace platform
