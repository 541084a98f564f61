// The store of window records behind the handles: creation order, z-order of
// the top-level windows, focus and foreground, and the need of paint.
#include "window_model.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace platform {

namespace {

// Records are touched by the thread that owns the window; the lock guards
// the maps themselves, since PostMessageW may look a window up from any thread.
std::recursive_mutex g_lock;
std::map<HWND, std::unique_ptr<Window>> g_windows;
std::vector<HWND> g_zOrder;        // top-level program windows, front first
std::vector<HWND> g_platformWindows;
HWND g_focus = nullptr;
HWND g_foreground = nullptr;
uintptr_t g_nextHandle = 0x10000;
uint64_t g_version = 1;
std::function<void(HWND)> g_painter;
ControlClasses g_controlClasses;

[[noreturn]] void NoControlClasses() {
  throw std::logic_error("no control classes installed: InstallStandardControls() comes before any dialog");
}

void EraseFrom(std::vector<HWND>& list, HWND window) {
  list.erase(std::remove(list.begin(), list.end(), window), list.end());
}

// Whether the window and each parent up to its top-level window have the
// style bits `style` set (`set` true) or clear (false); false for a window,
// or a parent, that does not exist.
bool WholeChainHas(HWND window, DWORD style, bool set) {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  for (Window* w = FindWindowRecord(window); w; w = FindWindowRecord(w->parent)) {
    if (((w->style & style) != 0) != set) return false;
    if (!w->parent) return true;
  }
  return false;
}

}  // namespace

int FrameWidth(const Window& window) {
  bool framed = window.kind == WindowKind::Dialog || window.kind == WindowKind::Generic;
  return framed && !window.parent && (window.style & WS_BORDER) ? 1 : 0;
}

Window* FindWindowRecord(HWND window) {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  auto found = g_windows.find(window);
  return found == g_windows.end() ? nullptr : found->second.get();
}

std::vector<HWND> TopLevelWindows() {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  return g_zOrder;
}

std::vector<HWND> PlatformWindows() {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  return g_platformWindows;
}

HWND FocusedWindow() {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  return g_focus;
}

HWND ForegroundWindowHandle() {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  return g_foreground;
}

bool WindowShown(HWND window) { return WholeChainHas(window, WS_VISIBLE, true); }

bool WindowUsable(HWND window) { return WholeChainHas(window, WS_DISABLED, false); }

uint64_t WindowModelVersion() {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  return g_version;
}

void NoteWindowModelChanged() {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  ++g_version;
}

void InvalidateWindow(HWND window, const RECT* rect, bool erase) {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  Window* w = FindWindowRecord(window);
  if (!w || w->platformProvided) return;
  RECT whole = {0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
  // A program's rectangle is cut to the window, as the paint it asks for is.
  RECT part = rect ? RECT{std::clamp(rect->left, LONG{0}, whole.right), std::clamp(rect->top, LONG{0}, whole.bottom),
                          std::clamp(rect->right, LONG{0}, whole.right), std::clamp(rect->bottom, LONG{0}, whole.bottom)}
                   : whole;
  if (w->invalid) {
    w->invalidRect.left = std::min(w->invalidRect.left, part.left);
    w->invalidRect.top = std::min(w->invalidRect.top, part.top);
    w->invalidRect.right = std::max(w->invalidRect.right, part.right);
    w->invalidRect.bottom = std::max(w->invalidRect.bottom, part.bottom);
  } else {
    w->invalidRect = part;
  }
  w->invalid = true;
  w->eraseBackground = w->eraseBackground || erase;
  ++g_version;
}

void ValidateWindow(HWND window) {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  Window* w = FindWindowRecord(window);
  if (!w) return;
  w->invalid = false;
  w->eraseBackground = false;
  w->invalidRect = {0, 0, 0, 0};
}

HWND AddWindowRecord(Window record) {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  HWND handle = reinterpret_cast<HWND>(g_nextHandle);
  g_nextHandle += 4;
  record.handle = handle;
  HWND parent = record.parent;
  bool fromPlatform = record.platformProvided;
  g_windows[handle] = std::make_unique<Window>(std::move(record));
  if (Window* p = FindWindowRecord(parent)) {
    p->children.push_back(handle);
  } else if (fromPlatform) {
    g_platformWindows.push_back(handle);
  } else {
    g_zOrder.insert(g_zOrder.begin(), handle);
  }
  ++g_version;
  return handle;
}

void RemoveWindowRecord(HWND window) {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  Window* w = FindWindowRecord(window);
  if (!w) return;
  for (HWND child : std::vector<HWND>(w->children)) RemoveWindowRecord(child);
  if (Window* p = FindWindowRecord(w->parent)) EraseFrom(p->children, window);
  EraseFrom(g_zOrder, window);
  EraseFrom(g_platformWindows, window);
  if (g_focus == window) g_focus = nullptr;
  if (g_foreground == window) g_foreground = g_zOrder.empty() ? nullptr : g_zOrder.front();
  g_windows.erase(window);
  ++g_version;
}

void RaiseWindowRecord(HWND window) {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  if (std::find(g_zOrder.begin(), g_zOrder.end(), window) == g_zOrder.end()) return;
  if (g_zOrder.front() == window) return;
  EraseFrom(g_zOrder, window);
  g_zOrder.insert(g_zOrder.begin(), window);
  ++g_version;
}

void LowerWindowRecord(HWND window) {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  if (std::find(g_zOrder.begin(), g_zOrder.end(), window) == g_zOrder.end()) return;
  if (g_zOrder.back() == window) return;
  EraseFrom(g_zOrder, window);
  g_zOrder.push_back(window);
  ++g_version;
}

void SetFocusedWindow(HWND window) {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  if (g_focus == window) return;
  g_focus = window;
  ++g_version;
}

void SetForegroundWindowHandle(HWND window) {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  if (g_foreground == window) return;
  g_foreground = window;
  ++g_version;
}

std::vector<HWND> WindowsNeedingPaint(std::thread::id thread) {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  std::vector<HWND> result;
  std::function<void(HWND)> visit = [&](HWND handle) {
    Window* w = FindWindowRecord(handle);
    if (!w || !(w->style & WS_VISIBLE)) return;
    if (w->invalid && w->thread == thread) result.push_back(handle);
    for (HWND child : w->children) visit(child);
  };
  // Back to front, so that what lies on top is painted last.
  for (auto it = g_zOrder.rbegin(); it != g_zOrder.rend(); ++it) visit(*it);
  return result;
}

HWND RegisterPlatformWindow(const std::u16string& className, const std::u16string& title, WNDPROC proc) {
  Window record;
  record.className = className;
  record.text = title;
  record.proc = proc;
  record.platformProvided = true;
  record.style = WS_POPUP;
  return AddWindowRecord(std::move(record));
}

void SetDefaultPainter(std::function<void(HWND)> painter) {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  g_painter = std::move(painter);
}

void SetControlClasses(ControlClasses classes) {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  g_controlClasses = std::move(classes);
}

WNDPROC ControlProcedure(WindowKind kind) {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  if (!g_controlClasses.procedure) NoControlClasses();
  return g_controlClasses.procedure(kind);
}

void InitControlState(Window& control) {
  std::function<void(Window&)> init;
  {
    std::lock_guard<std::recursive_mutex> lock(g_lock);
    init = g_controlClasses.init;
  }
  if (!init) NoControlClasses();
  init(control);
}

void RunDefaultPainter(HWND window) {
  std::function<void(HWND)> painter;
  {
    std::lock_guard<std::recursive_mutex> lock(g_lock);
    painter = g_painter;
  }
  if (painter) painter(window);
}

}  // namespace platform
