// What the GDI handles stand for inside the platform: brushes, bitmaps and
// device contexts, and the canvas a device context draws through.
#pragma once

#include <optional>

#include <windows.h>

#include "raster.h"

namespace platform {

class GdiBrush : public HBRUSH__ {
 public:
  explicit GdiBrush(COLORREF c) : color(c) {}
  COLORREF color;
};

class GdiBitmap : public HBITMAP__ {
 public:
  GdiBitmap(Surface p, int bits) : pixels(std::move(p)), bitsPerPixel(bits) {}
  Surface pixels;
  int bitsPerPixel;
  int selections = 0;  // memory contexts it is selected into (at most one)
};

class DeviceContext : public HDC__ {
 public:
  HWND window = nullptr;     // the window a GetDC or BeginPaint context belongs to
  Surface* target = nullptr;  // the screen, or the selected bitmap's pixels
  POINT origin{0, 0};         // where the context's (0, 0) lies on the target
  RECT clip{0, 0, 0, 0};      // target pixels
  GdiBitmap* bitmap = nullptr;  // memory contexts: the selected bitmap
  GdiBrush* brush = nullptr;
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = 2;  // OPAQUE
};

// Looks a handle up among the live objects: null for anything else.
GdiBrush* BrushFromHandle(HGDIOBJ handle);
GdiBitmap* BitmapFromHandle(HGDIOBJ handle);
DeviceContext* ContextFromHandle(HDC handle);

// A context that draws on `surface` with (0, 0) at `origin`, clipped to
// `clip`; released with DeleteDC (GetDC/BeginPaint contexts) as usual.
HDC CreateSurfaceDC(Surface& surface, POINT origin, const RECT& clip, HWND window);
// The canvas a context draws through; empty for an unknown handle.
std::optional<Canvas> CanvasOf(HDC dc);
// A bitmap from decoded pixels, as SHLoadDIBitmap and LoadBitmapW return them.
HBITMAP CreateBitmapFromPixels(Surface pixels, int bitsPerPixel);

}  // namespace platform
