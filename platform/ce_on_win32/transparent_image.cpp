// TransparentImage on desktop GDI's TransparentBlt: the source is a device
// context or, as the phone also takes, a bitmap.
#include <wince_core.h>

BOOL TransparentImage(HDC target, int targetX, int targetY, int targetWidth, int targetHeight, HANDLE source,
                      int sourceX, int sourceY, int sourceWidth, int sourceHeight, COLORREF transparent) {
  if (!target || !source) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const DWORD kind = GetObjectType(source);
  if (kind == OBJ_DC || kind == OBJ_MEMDC)
    return TransparentBlt(target, targetX, targetY, targetWidth, targetHeight, static_cast<HDC>(source), sourceX,
                          sourceY, sourceWidth, sourceHeight, transparent);
  if (kind != OBJ_BITMAP) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  HDC memory = CreateCompatibleDC(target);
  if (!memory) return FALSE;
  HGDIOBJ previous = SelectObject(memory, source);
  BOOL done = TransparentBlt(target, targetX, targetY, targetWidth, targetHeight, memory, sourceX, sourceY,
                             sourceWidth, sourceHeight, transparent);
  SelectObject(memory, previous);
  DeleteDC(memory);
  return done;
}
