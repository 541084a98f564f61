// Painting windows: GetDC, ReleaseDC, BeginPaint and EndPaint on the screen
// surface, and the background erase with the dialog's colour.
#include "paint.h"

#include <algorithm>

#include <windows.h>

#include "../gdi/gdi_objects.h"
#include "window_model.h"

namespace platform {
namespace {

LRESULT Deliver(Window* w, UINT message, WPARAM wParam, LPARAM lParam) {
  return w && w->proc ? w->proc(w->handle, message, wParam, lParam) : 0;
}

}  // namespace

Pixel BackgroundOf(Window* w, HDC dc) {
  if (w->kind != WindowKind::Dialog) return kDesktop;
  LRESULT brush = Deliver(w, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(w->handle));
  GdiBrush* b = BrushFromHandle(reinterpret_cast<HGDIOBJ>(brush));
  return b ? PixelFromColorRef(b->color) : kDesktop;
}

namespace {

// Erases a window's client area with its background colour, then lets the
// program paint its own background (WM_ERASEBKGND) over it.
void EraseBackground(Window* w, HDC dc) {
  Pixel color = BackgroundOf(w, dc);
  if (std::optional<Canvas> canvas = CanvasOf(dc)) canvas->Fill(canvas->clip(), color);
  Deliver(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
}

}  // namespace

RECT ClientRectOnScreen(HWND handle) {
  Window* w = FindWindowRecord(handle);
  if (!w) return RECT{0, 0, 0, 0};
  int frame = FrameWidth(*w);
  return RECT{w->rect.left + frame, w->rect.top + frame, w->rect.right - frame, w->rect.bottom - frame};
}

RECT VisibleClientRect(HWND handle) {
  RECT r = ClientRectOnScreen(handle);
  Window* w = FindWindowRecord(handle);
  for (Window* p = w ? FindWindowRecord(w->parent) : nullptr; p; p = FindWindowRecord(p->parent))
    r = IntersectRects(r, ClientRectOnScreen(p->handle));
  return IntersectRects(r, ScreenSurface().bounds());
}

Surface& ScreenSurface() {
  static Surface screen;
  int width = std::max(1, GetSystemMetrics(SM_CXSCREEN));
  int height = std::max(1, GetSystemMetrics(SM_CYSCREEN));
  if (screen.width() != width || screen.height() != height) screen = Surface(width, height, kDesktop);
  return screen;
}

}  // namespace platform

using namespace platform;

HDC GetDC(HWND window) {
  Surface& screen = ScreenSurface();
  if (!window) return CreateSurfaceDC(screen, POINT{0, 0}, screen.bounds(), nullptr);
  if (!FindWindowRecord(window)) return nullptr;
  RECT client = ClientRectOnScreen(window);
  return CreateSurfaceDC(screen, POINT{client.left, client.top}, VisibleClientRect(window), window);
}

int ReleaseDC(HWND window, HDC dc) {
  DeviceContext* context = ContextFromHandle(dc);
  if (!context || context->window != window || context->bitmap) return 0;
  return DeleteDC(dc);
}

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint) {
  Window* w = FindWindowRecord(window);
  if (!w || !paint) return nullptr;
  RECT client = ClientRectOnScreen(window);
  RECT part = w->invalid ? w->invalidRect
                         : RECT{0, 0, client.right - client.left, client.bottom - client.top};
  RECT onScreen{part.left + client.left, part.top + client.top, part.right + client.left,
                part.bottom + client.top};
  bool erase = w->eraseBackground;
  ValidateWindow(window);
  HDC dc = CreateSurfaceDC(ScreenSurface(), POINT{client.left, client.top},
                           IntersectRects(onScreen, VisibleClientRect(window)), window);
  if (erase) EraseBackground(w, dc);
  *paint = PAINTSTRUCT{};
  paint->hdc = dc;
  paint->fErase = FALSE;
  paint->rcPaint = part;
  return dc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
  if (!paint) return FALSE;
  DeviceContext* context = ContextFromHandle(paint->hdc);
  if (!context || context->window != window) return FALSE;
  return DeleteDC(paint->hdc);
}
