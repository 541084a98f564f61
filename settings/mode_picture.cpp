// Draws the edited mode's picture: a bitmap file of the install folder,
// placed by its size, or the built-in picture of the mode when the file is missing.
#include "settings/mode_picture.h"

#include <aygshell.h>

#include "settings/resource.h"

// Where a loaded picture goes, by its height; other heights go where the caller said.
static void PlaceByHeight(LONG height, int* x, int* y) {
  if (height == 32) {
    *x = 5;
    *y = 10;
  } else if (height == 24) {
    *x = 10;
    *y = 12;
  } else if (height == 16) {
    *x = 15;
    *y = 15;
  }
}

// The built-in picture for the first mode file name the path contains, or 0.
static int BuiltInPicture(LPCWSTR path) {
  if (wcsstr(path, TEXT("1.bmp"))) return IDB_MODE1;
  if (wcsstr(path, TEXT("2.bmp"))) return IDB_MODE2;
  if (wcsstr(path, TEXT("3.bmp"))) return IDB_MODE3;
  if (wcsstr(path, TEXT("4.bmp"))) return IDB_MODE4;
  if (wcsstr(path, TEXT("5.bmp"))) return IDB_MODE5;
  return 0;
}

void DrawModeBitmap(HINSTANCE instance, HDC dc, LPCWSTR path, int x, int y) {
  HDC memory = CreateCompatibleDC(dc);
  if (!memory) return;
  HBITMAP picture = SHLoadDIBitmap(path);
  BITMAP size = {};
  if (picture && !GetObjectW(picture, sizeof size, &size)) {
    DeleteObject(picture);
    picture = nullptr;
  }
  if (picture) {
    PlaceByHeight(size.bmHeight, &x, &y);
  } else {
    x = 10;
    y = 12;
  }
  // The landscape layout keeps the top left corner for the mode strip.
  if (GetSystemMetrics(SM_CXSCREEN) > 240) {
    x = 255;
    y = 5;
  }
  if (!picture) {
    int builtIn = BuiltInPicture(path);
    if (builtIn) picture = LoadBitmapW(instance, MAKEINTRESOURCEW(builtIn));
    if (picture && !GetObjectW(picture, sizeof size, &size)) {
      DeleteObject(picture);
      picture = nullptr;
    }
  }
  if (picture) {
    HGDIOBJ previous = SelectObject(memory, picture);
    TransparentImage(dc, x, y, size.bmWidth, size.bmHeight, memory, 0, 0, size.bmWidth, size.bmHeight,
                     PICTURE_TRANSPARENT_COLOUR);
    SelectObject(memory, previous);
    DeleteObject(picture);
  }
  DeleteDC(memory);
}
