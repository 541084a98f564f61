// Window calls: sending messages, destroying, showing, enabling, focus and
// foreground, position and z-order, text, window longs, finding windows and
// the need of paint.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include <windows.h>

#include "message_loop.h"
#include "paint.h"
#include "timers.h"
#include "window_model.h"

namespace platform {

namespace {

Window* Check(HWND window) {
  Window* record = FindWindowRecord(window);
  if (!record) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return record;
}

bool ClassEquals(const std::u16string& a, LPCWSTR b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'a' && x <= u'z') x = static_cast<char16_t>(x - 32);
    if (y >= u'a' && y <= u'z') y = static_cast<char16_t>(y - 32);
    if (x != y) return false;
  }
  return i == a.size() && !b[i];
}

// Positions and sizes that programs give are kept within this many pixels
// of the screen's origin: far beyond any screen, and near enough that the
// sums and differences of the window code never overflow.
constexpr int64_t kCoordinateReach = 1 << 20;

LONG Reach(int64_t value, int64_t least) {
  return static_cast<LONG>(std::clamp(value, least, kCoordinateReach));
}

// Moves a window and everything in it by (dx, dy) screen pixels.
void Shift(Window& window, LONG dx, LONG dy) {
  window.rect.left += dx;
  window.rect.right += dx;
  window.rect.top += dy;
  window.rect.bottom += dy;
  for (HWND child : window.children)
    if (Window* c = FindWindowRecord(child)) Shift(*c, dx, dy);
}

// The area a window covers, marked for repaint in what lies beneath it
// (its parent for a control, every other window for a top-level one).
void InvalidateBeneath(const Window& window) {
  if (Window* parent = FindWindowRecord(window.parent)) {
    RECT part = {window.rect.left - parent->rect.left, window.rect.top - parent->rect.top,
                 window.rect.right - parent->rect.left, window.rect.bottom - parent->rect.top};
    InvalidateWindow(parent->handle, &part, true);
    return;
  }
  for (HWND other : TopLevelWindows())
    if (other != window.handle) InvalidateWindow(other, nullptr, true);
}

void InvalidateTree(HWND window) {
  InvalidateWindow(window, nullptr, true);
  if (Window* w = FindWindowRecord(window))
    for (HWND child : w->children) InvalidateTree(child);
}

void DestroyTree(HWND window) {
  Window* record = FindWindowRecord(window);
  if (!record) return;
  if (record->proc) record->proc(window, WM_DESTROY, 0, 0);
  record = FindWindowRecord(window);
  if (!record) return;
  for (HWND child : std::vector<HWND>(record->children)) DestroyTree(child);
  KillWindowTimers(window);
}

}  // namespace

}  // namespace platform

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  platform::Window* record = platform::Check(window);
  if (!record || !record->proc) return 0;
  return record->proc(window, message, wParam, lParam);
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  using namespace platform;
  Window* record = FindWindowRecord(window);
  if (!record) return 0;
  switch (message) {
    case WM_SETTEXT: {
      std::u16string text = lParam ? std::u16string(reinterpret_cast<LPCWSTR>(lParam)) : std::u16string();
      if (record->text != text) {
        record->text = text;
        InvalidateWindow(window, nullptr, true);
      }
      return TRUE;
    }
    case WM_GETTEXT: {
      auto buffer = reinterpret_cast<LPWSTR>(lParam);
      if (!buffer || wParam == 0) return 0;
      size_t count = std::min(record->text.size(), static_cast<size_t>(wParam) - 1);
      std::copy_n(record->text.data(), count, buffer);
      buffer[count] = 0;
      return static_cast<LRESULT>(count);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(record->text.size());
    case WM_PAINT:
      RunDefaultPainter(window);
      ValidateWindow(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    default:
      return 0;
  }
}

BOOL DestroyWindow(HWND window) {
  using namespace platform;
  Window* record = Check(window);
  if (!record) return FALSE;
  if (!record->parent) InvalidateBeneath(*record);
  HWND focus = FocusedWindow();
  for (HWND w = focus; w; ) {
    if (w == window) {
      SetFocusedWindow(nullptr);
      break;
    }
    Window* r = FindWindowRecord(w);
    w = r ? r->parent : nullptr;
  }
  if (record->parent) InvalidateBeneath(*record);
  DestroyTree(window);
  RemoveWindowRecord(window);
  return TRUE;
}

BOOL IsWindow(HWND window) { return platform::FindWindowRecord(window) != nullptr; }

HWND GetParent(HWND window) {
  platform::Window* record = platform::Check(window);
  return record ? record->parent : nullptr;
}

BOOL ShowWindow(HWND window, int command) {
  using namespace platform;
  Window* record = Check(window);
  if (!record) return FALSE;
  bool wasVisible = (record->style & WS_VISIBLE) != 0;
  bool show = command != SW_HIDE;
  if (show != wasVisible) {
    if (show) {
      record->style |= WS_VISIBLE;
      InvalidateTree(window);
    } else {
      record->style &= ~static_cast<DWORD>(WS_VISIBLE);
      InvalidateBeneath(*record);
    }
    if (record->proc) record->proc(window, WM_SHOWWINDOW, show, 0);
    NoteWindowModelChanged();
  }
  // Showing a top-level window activates it unless asked not to.
  bool activate = command != SW_HIDE && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE &&
                  command != SW_SHOWMINNOACTIVE && command != SW_MINIMIZE;
  if (record->parent == nullptr && activate) {
    RaiseWindowRecord(window);
    SetForegroundWindowHandle(window);
  }
  return wasVisible;
}

BOOL EnableWindow(HWND window, BOOL enable) {
  using namespace platform;
  Window* record = Check(window);
  if (!record) return FALSE;
  bool wasDisabled = (record->style & WS_DISABLED) != 0;
  if (wasDisabled == !enable) return wasDisabled;
  if (enable) {
    record->style &= ~static_cast<DWORD>(WS_DISABLED);
  } else {
    record->style |= WS_DISABLED;
    // A disabled window takes no keys: it loses the focus.
    if (FocusedWindow() == window) SetFocus(nullptr);
  }
  InvalidateWindow(window, nullptr, true);
  if (record->proc) record->proc(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL IsWindowVisible(HWND window) { return platform::WindowShown(window); }

BOOL IsWindowEnabled(HWND window) {
  platform::Window* record = platform::FindWindowRecord(window);
  return record && !(record->style & WS_DISABLED);
}

HWND SetFocus(HWND window) {
  using namespace platform;
  HWND previous = FocusedWindow();
  if (window && !Check(window)) return nullptr;
  if (window == previous) return previous;
  SetFocusedWindow(window);
  if (Window* old = FindWindowRecord(previous)) {
    InvalidateWindow(previous, nullptr, false);
    if (old->proc) old->proc(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
  }
  if (Window* now = FindWindowRecord(window)) {
    if (Window* dialog = FindWindowRecord(now->parent)) dialog->lastFocus = window;
    InvalidateWindow(window, nullptr, false);
    if (now->proc) now->proc(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  }
  return previous;
}

HWND GetFocus() { return platform::FocusedWindow(); }

BOOL SetForegroundWindow(HWND window) {
  using namespace platform;
  Window* record = Check(window);
  if (!record || record->platformProvided) return FALSE;
  while (record->parent) {
    record = FindWindowRecord(record->parent);
    if (!record) return FALSE;
  }
  RaiseWindowRecord(record->handle);
  SetForegroundWindowHandle(record->handle);
  InvalidateWindow(record->handle, nullptr, true);
  return TRUE;
}

HWND GetForegroundWindow() { return platform::ForegroundWindowHandle(); }

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  using namespace platform;
  Window* record = Check(window);
  if (!record) return FALSE;
  // A control's position is relative to its parent's client area.
  LONG originX = 0, originY = 0;
  if (record->parent) {
    RECT client = ClientRectOnScreen(record->parent);
    originX = client.left;
    originY = client.top;
  }
  LONG oldWidth = record->rect.right - record->rect.left;
  LONG oldHeight = record->rect.bottom - record->rect.top;
  LONG left = (flags & SWP_NOMOVE) ? record->rect.left : Reach(int64_t{originX} + x, -kCoordinateReach);
  LONG top = (flags & SWP_NOMOVE) ? record->rect.top : Reach(int64_t{originY} + y, -kCoordinateReach);
  LONG width = (flags & SWP_NOSIZE) ? oldWidth : Reach(cx, 0);
  LONG height = (flags & SWP_NOSIZE) ? oldHeight : Reach(cy, 0);
  bool moved = left != record->rect.left || top != record->rect.top;
  bool resized = width != oldWidth || height != oldHeight;
  if (moved || resized) {
    InvalidateBeneath(*record);
    Shift(*record, left - record->rect.left, top - record->rect.top);
    record->rect.right = record->rect.left + width;
    record->rect.bottom = record->rect.top + height;
    InvalidateTree(window);
  }
  if (!(flags & SWP_NOZORDER) && !record->parent) {
    if (insertAfter == HWND_BOTTOM) {
      LowerWindowRecord(window);
    } else if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
      RaiseWindowRecord(window);
    }
    InvalidateWindow(window, nullptr, true);
  }
  // The z-order was settled above: showing here does not raise the window.
  if (flags & SWP_SHOWWINDOW) ShowWindow(window, SW_SHOWNA);
  if (flags & SWP_HIDEWINDOW) ShowWindow(window, SW_HIDE);
  record = FindWindowRecord(window);
  if (record && resized && record->proc) record->proc(window, WM_SIZE, 0, MAKELPARAM(width, height));
  return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW);
  return SetWindowPos(window, nullptr, x, y, width, height, flags);
}

BOOL GetWindowRect(HWND window, LPRECT rect) {
  platform::Window* record = platform::Check(window);
  if (!record || !rect) return FALSE;
  *rect = record->rect;
  return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
  if (!platform::Check(window) || !rect) return FALSE;
  RECT client = platform::ClientRectOnScreen(window);
  *rect = {0, 0, client.right - client.left, client.bottom - client.top};
  return TRUE;
}

BOOL SetWindowTextW(HWND window, LPCWSTR text) {
  if (!platform::Check(window)) return FALSE;
  return SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : u"")) != 0;
}

int GetWindowTextW(HWND window, LPWSTR buffer, int capacity) {
  if (!buffer || capacity <= 0) return 0;
  buffer[0] = 0;
  if (!platform::Check(window)) return 0;
  return static_cast<int>(SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(capacity),
                                       reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND window) {
  if (!platform::Check(window)) return 0;
  return static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
}

LONG GetWindowLongW(HWND window, int index) {
  using namespace platform;
  Window* record = Check(window);
  if (!record) return 0;
  bool dialog = record->kind == WindowKind::Dialog;
  switch (index) {
    case GWL_STYLE: return static_cast<LONG>(record->style);
    case GWL_EXSTYLE: return static_cast<LONG>(record->exStyle);
    case GWL_ID: return record->id;
    case GWL_USERDATA: return static_cast<LONG>(record->userData);
    case DWL_MSGRESULT: return dialog ? static_cast<LONG>(record->dialogResult) : 0;
    case DWL_USER: return dialog ? static_cast<LONG>(record->dialogUser) : 0;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
  }
}

LONG SetWindowLongW(HWND window, int index, LONG value) {
  using namespace platform;
  Window* record = Check(window);
  if (!record) return 0;
  LONG previous = GetWindowLongW(window, index);
  bool dialog = record->kind == WindowKind::Dialog;
  switch (index) {
    case GWL_STYLE:
      record->style = static_cast<DWORD>(value);
      InvalidateWindow(window, nullptr, true);
      break;
    case GWL_EXSTYLE: record->exStyle = static_cast<DWORD>(value); break;
    case GWL_ID: record->id = value; break;
    case GWL_USERDATA: record->userData = value; break;
    case DWL_MSGRESULT:
      if (dialog) record->dialogResult = value;
      break;
    case DWL_USER:
      if (dialog) record->dialogUser = value;
      break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
  }
  return previous;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR title) {
  using namespace platform;
  std::vector<HWND> candidates = TopLevelWindows();
  for (HWND w : PlatformWindows()) candidates.push_back(w);
  for (HWND candidate : candidates) {
    Window* record = FindWindowRecord(candidate);
    if (!record) continue;
    if (className && !ClassEquals(record->className, className)) continue;
    if (title && record->text != std::u16string(title)) continue;
    return candidate;
  }
  return nullptr;
}

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  using namespace platform;
  if (!window) {
    for (HWND w : TopLevelWindows()) InvalidateWindow(w, nullptr, erase != FALSE);
    return TRUE;
  }
  if (!Check(window)) return FALSE;
  InvalidateWindow(window, rect, erase != FALSE);
  return TRUE;
}

BOOL ValidateRect(HWND window, const RECT*) {
  if (!platform::Check(window)) return FALSE;
  platform::ValidateWindow(window);
  return TRUE;
}

BOOL UpdateWindow(HWND window) {
  using namespace platform;
  Window* record = Check(window);
  if (!record) return FALSE;
  if (record->invalid && WindowShown(window)) SendMessageW(window, WM_PAINT, 0, 0);
  return TRUE;
}
