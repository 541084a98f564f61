// The open list of a drop-down: a tap on a drop-down's arrow opens it above
// everything else, a tap on one of its lines picks that entry, and any other
// tap closes it.
#pragma once

#include "gdi/raster.h"

namespace platform {

// Takes a tap at screen pixel (x, y) when it opens, uses or closes a list;
// false when the tap is for someone else.
bool TapDropList(int x, int y);
// Paints the open list, if any, at its place on the screen.
void PaintDropList(Canvas& screen);
// Where the open list lies on the screen (empty when none is open).
RECT OpenDropListRect();
// The drop-down whose list is open, or null.
HWND OpenDropDown();

}  // namespace platform
