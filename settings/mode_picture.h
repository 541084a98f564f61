// The picture of the edited mode, drawn near the top of the settings dialog
// from the install folder's picture file or the program's built-in one.
#pragma once

#include <windows.h>

// Colour of a picture's background, drawn as transparent.
#define PICTURE_TRANSPARENT_COLOUR RGB(255, 0, 255)

// Draws the picture file at path (or, when it cannot be loaded, the built-in
// picture its file name stands for) at its own size, with its magenta background left out.
void DrawModeBitmap(HINSTANCE instance, HDC dc, LPCWSTR path, int x, int y);
