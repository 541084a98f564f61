// The pictures of the choice cells: a file in the install folder, else the
// program's own bitmap of the same choice.
#pragma once

#include <windows.h>

// Builds the path of cell `choice`'s picture file in the install folder.
void ChoicePicturePath(int choice, WCHAR path[]);

// Loads the picture at path; when the file does not load, the built-in
// bitmap that its file name stands for (the duration pictures only while no
// switch is pending). Null when neither loads; the caller deletes it.
HBITMAP LoadChoicePicture(LPCWSTR path);

// Draws the picture at path with its magenta transparent, its top left at
// (x, y), inside the cell: a picture that does not fit there is centred on
// the cell by its own size, and whatever lies outside the cell is cut off.
void DrawChoiceBitmap(HDC dc, LPCWSTR path, int x, int y, const RECT* cell);
