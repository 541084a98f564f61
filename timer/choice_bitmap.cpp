// Loading and drawing the choice pictures, with the built-in bitmaps as the
// fallback for files the install folder lacks.
#include "timer/choice_bitmap.h"

#include <aygshell.h>

#include "timer/choice_cells.h"
#include "timer/resource.h"
#include "timer/timer_state.h"

// The file name and built-in bitmap of each cell, in row order.
static LPCWSTR const PictureNames[CHOICE_COUNT] = {TEXT("15.bmp"), TEXT("30.bmp"),  TEXT("45.bmp"), TEXT("60.bmp"),
                                                   TEXT("120.bmp"), TEXT("180.bmp"), TEXT("0.bmp")};
static const int PictureResources[CHOICE_COUNT] = {IDB_CHOICE15,  IDB_CHOICE30,  IDB_CHOICE45, IDB_CHOICE60,
                                                   IDB_CHOICE120, IDB_CHOICE180, IDB_CHOICE0};

void ChoicePicturePath(int choice, WCHAR path[]) {
  wsprintfW(path, TEXT("%s\\%s"), Timer.InstallFolder, PictureNames[choice]);
}

// The cell whose picture the path names, by its whole file name, so that
// "0.bmp" is not taken for "120.bmp"; -1 for any other name.
static int ChoiceOfPath(LPCWSTR path) {
  LPCWSTR name = path;
  for (LPCWSTR p = path; *p != 0; ++p) {
    if (*p == TEXT('\\') || *p == TEXT('/')) name = p + 1;
  }
  for (int i = 0; i < CHOICE_COUNT; ++i) {
    if (_wcsicmp(name, PictureNames[i]) == 0) return i;
  }
  return -1;
}

HBITMAP LoadChoicePicture(LPCWSTR path) {
  HBITMAP picture = SHLoadDIBitmap(path);
  if (picture != nullptr) return picture;
  int choice = ChoiceOfPath(path);
  if (choice < 0) return nullptr;
  if (choice != CHOICE_CANCEL && Timer.SwitchPending) return nullptr;
  return LoadBitmapW(Timer.Instance, MAKEINTRESOURCEW(PictureResources[choice]));
}

// Moves [*start, *start + size) into [low, high) when it does not lie there
// already, by centring it (it then sticks out evenly when larger); `roundUp`
// rounds the half up, as the bar does for heights.
static void FitSpan(LONG* start, LONG size, LONG low, LONG high, bool roundUp) {
  if (*start >= low && *start + size <= high) return;
  *start = low + (high - low - size + (roundUp ? 1 : 0)) / 2;
}

void DrawChoiceBitmap(HDC dc, LPCWSTR path, int x, int y, const RECT* cell) {
  HBITMAP picture = LoadChoicePicture(path);
  if (picture == nullptr) return;
  BITMAP info;
  if (GetObjectW(picture, sizeof(info), &info) == 0) {
    DeleteObject(picture);
    return;
  }
  LONG width = info.bmWidth;
  LONG height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  LONG left = x;
  LONG top = y;
  FitSpan(&left, width, cell->left, cell->right, false);
  FitSpan(&top, height, cell->top, cell->bottom, true);

  LONG clipLeft = left > cell->left ? left : cell->left;
  LONG clipTop = top > cell->top ? top : cell->top;
  LONG clipRight = left + width < cell->right ? left + width : cell->right;
  LONG clipBottom = top + height < cell->bottom ? top + height : cell->bottom;
  if (clipLeft < clipRight && clipTop < clipBottom) {
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, picture);
    TransparentImage(dc, clipLeft, clipTop, clipRight - clipLeft, clipBottom - clipTop, memory, clipLeft - left,
                     clipTop - top, clipRight - clipLeft, clipBottom - clipTop, PICTURE_TRANSPARENT);
    SelectObject(memory, previous);
    DeleteDC(memory);
  }
  DeleteObject(picture);
}
