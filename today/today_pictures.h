// The modes' pictures on the Today screen: "%s\%d.bmp" of the install
// folder, else the built-in picture of the mode.
#pragma once

#include <windows.h>

// Draws mode 1 to 5's picture whole at (x, y), magenta transparent.
void DrawModePicture(HDC dc, DWORD mode, int x, int y);
