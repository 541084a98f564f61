// Taps on this program's windows: a tap goes to the window under the stylus
// in z-order, as a button press and release in its client coordinates,
// queued like the phone's own input.
#include "input.h"

#include "paint.h"
#include "window_model.h"

namespace platform {

namespace {

bool Contains(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// Group boxes and labels let taps through to what lies below them, unless
// a label asks to be told of taps.
bool TransparentToTaps(const Window& w) {
  if (w.kind == WindowKind::Button && (w.style & BS_TYPEMASK) == BS_GROUPBOX) return true;
  return w.kind == WindowKind::Static && !(w.style & SS_NOTIFY);
}


}  // namespace

void PostTap(HWND window, LONG screenX, LONG screenY) {
  RECT client = ClientRectOnScreen(window);
  LPARAM where = MAKELPARAM(screenX - client.left, screenY - client.top);
  PostMessageW(window, WM_LBUTTONDOWN, 1, where);  // MK_LBUTTON
  PostMessageW(window, WM_LBUTTONUP, 0, where);
}

HWND WindowAtPoint(int x, int y) {
  for (HWND top : TopLevelWindows()) {
    Window* w = FindWindowRecord(top);
    if (!w || !(w->style & WS_VISIBLE) || !Contains(w->rect, x, y)) continue;
    HWND found = top;
    for (bool deeper = true; deeper;) {
      deeper = false;
      for (HWND child : FindWindowRecord(found)->children) {
        Window* c = FindWindowRecord(child);
        if (!c || !(c->style & WS_VISIBLE) || !Contains(c->rect, x, y) || TransparentToTaps(*c)) continue;
        found = child;
        deeper = true;
        break;
      }
    }
    return WindowUsable(found) ? found : nullptr;
  }
  return nullptr;
}

void TapWindow(HWND window) {
  Window* w = FindWindowRecord(window);
  if (!w || !WindowShown(window) || !WindowUsable(window)) return;
  PostTap(window, (w->rect.left + w->rect.right) / 2, (w->rect.top + w->rect.bottom) / 2);
}

}  // namespace platform
