// Input routing: taps go to the window under the stylus in z-order as a
// button press and release in its client coordinates, characters to the
// focused control; both are queued like the phone's own input.
#include "input.h"

#include <mutex>

#include "include/aygshell.h"
#include "window_model.h"

namespace platform {

namespace {

// The "ok" button at the right end of the top bar, in pixels.
constexpr int kOkButtonWidth = 32;

std::mutex g_lock;
std::function<void(int, int)> g_shellBarHandler;
bool g_inputPanel = false;

bool Contains(const RECT& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

// Group boxes and labels let taps through to what lies below them, unless
// a label asks to be told of taps.
bool TransparentToTaps(const Window& w) {
  if (w.kind == WindowKind::Button && (w.style & BS_TYPEMASK) == BS_GROUPBOX) return true;
  return w.kind == WindowKind::Static && !(w.style & SS_NOTIFY);
}

void PostTap(HWND window, LONG screenX, LONG screenY) {
  RECT client = ClientRectOnScreen(window);
  LPARAM where = MAKELPARAM(screenX - client.left, screenY - client.top);
  PostMessageW(window, WM_LBUTTONDOWN, 1, where);  // MK_LBUTTON
  PostMessageW(window, WM_LBUTTONUP, 0, where);
}

}  // namespace

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

void DeliverTap(int x, int y) {
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  bool topBar = y < SHELL_TOP_BAR_HEIGHT;
  bool menuBar = y >= height - SHELL_MENU_BAR_HEIGHT;
  HWND target = WindowAtPoint(x, y);
  // Windows drawn over the bars take their taps; otherwise the shell does.
  if (!target && (topBar || menuBar)) {
    Window* foreground = FindWindowRecord(ForegroundWindowHandle());
    if (topBar && x >= width - kOkButtonWidth && foreground && foreground->doneButton) {
      PressShellOk();
      return;
    }
    std::function<void(int, int)> handler;
    {
      std::lock_guard<std::mutex> lock(g_lock);
      handler = g_shellBarHandler;
    }
    if (handler) handler(x, y);
    return;
  }
  if (target) PostTap(target, x, y);
}

void TapWindow(HWND window) {
  Window* w = FindWindowRecord(window);
  if (!w || !WindowShown(window) || !WindowUsable(window)) return;
  PostTap(window, (w->rect.left + w->rect.right) / 2, (w->rect.top + w->rect.bottom) / 2);
}

void DeliverChar(WCHAR c) {
  HWND focus = FocusedWindow();
  if (!focus || !WindowShown(focus) || !WindowUsable(focus)) return;
  PostMessageW(focus, WM_CHAR, c, 1);
}

void PressShellOk() {
  HWND foreground = ForegroundWindowHandle();
  Window* w = FindWindowRecord(foreground);
  if (!w || !w->doneButton) return;
  PostMessageW(foreground, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void SetShellBarTapHandler(std::function<void(int x, int y)> handler) {
  std::lock_guard<std::mutex> lock(g_lock);
  g_shellBarHandler = std::move(handler);
}

bool InputPanelShown() {
  std::lock_guard<std::mutex> lock(g_lock);
  return g_inputPanel;
}

void SetInputPanelShown(bool shown) {
  {
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_inputPanel == shown) return;
    g_inputPanel = shown;
  }
  NoteWindowModelChanged();
}

}  // namespace platform
