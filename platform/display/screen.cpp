// The screen's composition: this program's windows painted back to front
// over the layers of the programs beneath it, its open drop-down list and
// input panel, the layers above it, and the shell's bars on top.
#include "screen.h"

#include <algorithm>

#include <windows.h>

#include "../controls/control_paint.h"
#include "../controls/drop_list.h"
#include "../gdi/gdi_objects.h"
#include "../gdi/png_file.h"
#include "../shell/input_panel.h"
#include "../shell/shell.h"
#include "../user/paint.h"
#include "../user/window_model.h"
#include "shared_screen.h"

namespace platform {
namespace {

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
    w->proc(handle, WM_PAINT, 0, 0);
  else
    RunDefaultPainter(handle);
  if ((w = FindWindowRecord(handle)) == nullptr) return;
  if (w->invalid) ValidateWindow(handle);
  std::vector<HWND> children = w->children;
  std::stable_partition(children.begin(), children.end(), IsGroupBox);
  for (HWND child : children) PaintTree(child);
}

}  // namespace

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
