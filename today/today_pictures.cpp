#include "today/today_pictures.h"

#include <aygshell.h>

#include "today/resource.h"
#include "today/today_state.h"

#define PICTURE_TRANSPARENT RGB(255, 0, 255)

static HBITMAP LoadModePicture(DWORD mode) {
  WCHAR path[TODAY_FOLDER_SIZE + 16];
  wsprintfW(path, TEXT("%s\\%d.bmp"), Today.InstallFolder, (int)mode);
  HBITMAP picture = SHLoadDIBitmap(path);
  if (picture) return picture;
  return LoadBitmapW(Today.Instance, MAKEINTRESOURCEW(IDB_TODAY_MODE1 + (int)mode - 1));
}

void DrawModePicture(HDC dc, DWORD mode, int x, int y) {
  if (mode < 1 || mode > 5) return;
  HBITMAP picture = LoadModePicture(mode);
  if (!picture) return;
  BITMAP size = {};
  if (GetObjectW(picture, sizeof size, &size)) {
    LONG height = size.bmHeight < 0 ? -size.bmHeight : size.bmHeight;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, picture);
    TransparentImage(dc, x, y, size.bmWidth, height, memory, 0, 0, size.bmWidth, height, PICTURE_TRANSPARENT);
    SelectObject(memory, previous);
    DeleteDC(memory);
  }
  DeleteObject(picture);
}
