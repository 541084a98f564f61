// Painting windows: GetDC, ReleaseDC, BeginPaint and EndPaint on the screen
// surface, the background erase with the dialog's colour, and the screen's
// composition from every window back to front.
#include <algorithm>

#include "control_paint.h"
#include "drop_list.h"
#include "gdi_objects.h"
#include "input_panel.h"
#include "png_file.h"
#include "screen.h"
#include "shared_screen.h"
#include "shell.h"
#include "window_model.h"
#include "winuser.h"

namespace platform {
namespace {

// The phone's background where no window lies: its Today screen's white.
constexpr Pixel kDesktop = 0xFFFFFF;

LRESULT Deliver(Window* w, UINT message, WPARAM wParam, LPARAM lParam) {
  return w && w->proc ? w->proc(w->handle, message, wParam, lParam) : 0;
}

// The colour a window's background takes: a dialog's from its answer to
// WM_CTLCOLORDLG, any other white.
Pixel BackgroundOf(Window* w, HDC dc) {
  if (w->kind != WindowKind::Dialog) return kDesktop;
  LRESULT brush = Deliver(w, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(w->handle));
  GdiBrush* b = BrushFromHandle(reinterpret_cast<HGDIOBJ>(brush));
  return b ? PixelFromColorRef(b->color) : kDesktop;
}

// Erases a window's client area with its background colour, then lets the
// program paint its own background (WM_ERASEBKGND) over it.
void EraseBackground(Window* w, HDC dc) {
  Pixel color = BackgroundOf(w, dc);
  if (std::optional<Canvas> canvas = CanvasOf(dc)) canvas->Fill(canvas->clip(), color);
  Deliver(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
}

// A top-level window's frame: a black line for a thin border; a captioned
// window's caption is in the shell's top bar, so its frame takes its
// background and the window looks frameless, as on the phone.
void PaintFrame(Canvas& screen, Window* w) {
  if (FrameWidth(*w) == 0) return;
  Pixel color = 0x000000;
  if ((w->style & WS_CAPTION) == WS_CAPTION) {
    HDC dc = CreateSurfaceDC(ScreenSurface(), POINT{w->rect.left, w->rect.top}, w->rect, w->handle);
    color = BackgroundOf(w, dc);
    DeleteDC(dc);
  }
  screen.Frame(w->rect, color);
}

bool IsGroupBox(HWND handle) {
  Window* w = FindWindowRecord(handle);
  return w && w->kind == WindowKind::Button && (w->style & BS_TYPEMASK) == BS_GROUPBOX;
}

// Paints one window and then its children as the phone does: group boxes
// first, as the transparent frames beneath their siblings, so that a button
// on a frame line shows whole; then the other controls in template order,
// later ones over earlier ones.
void PaintTree(HWND handle) {
  Window* w = FindWindowRecord(handle);
  if (!w || !(w->style & WS_VISIBLE)) return;
  InvalidateWindow(handle, nullptr, true);
  if (w->proc)
    Deliver(w, WM_PAINT, 0, 0);
  else
    RunDefaultPainter(handle);
  if ((w = FindWindowRecord(handle)) == nullptr) return;
  if (w->invalid) ValidateWindow(handle);
  std::vector<HWND> children = w->children;
  std::stable_partition(children.begin(), children.end(), IsGroupBox);
  for (HWND child : children) PaintTree(child);
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

std::vector<RECT> CoveredScreenRects() {
  std::vector<RECT> covered;
  for (HWND handle : TopLevelWindows()) {
    Window* w = FindWindowRecord(handle);
    if (w && (w->style & WS_VISIBLE)) covered.push_back(w->rect);
  }
  if (OpenDropDown()) covered.push_back(OpenDropListRect());
  if (InputPanelShown()) covered.push_back(InputPanelRect());
  return covered;
}

// The screen is this program's layer over those of the programs beneath it
// and under those above it; the bars are the top program's.
const Surface& PaintScreen() {
  Surface& surface = ScreenSurface();
  Canvas screen(surface);
  screen.Fill(surface.bounds(), kDesktop);
  PaintLayersBelow(screen);
  std::vector<HWND> windows = TopLevelWindows();
  bool shown = false;
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    Window* w = FindWindowRecord(*it);
    if (!w || !(w->style & WS_VISIBLE)) continue;
    shown = true;
    PaintFrame(screen, w);
    PaintTree(*it);
  }
  PaintDropList(screen);
  PaintInputPanel(screen);
  ShellBarState own = OwnShellBars();
  StoreOwnLayer(surface, CoveredScreenRects(), own);
  PaintLayersAbove(screen);
  PaintShellBars(screen, TopShellBars(own, shown));
  return surface;
}

bool SaveScreenshot(const std::string& path, std::string* error) {
  return WritePng(PaintScreen(), path, error);
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
