// The open list of a drop-down. The window system keeps each drop-down's
// entries and selection; the screen keeps which one (at most) is open, its
// highlighted entry and its first line shown, lays it out below the box
// (above it when the screen ends first) and turns taps, keys and the wheel
// into scrolling, highlighting and the user's pick.
#include "drop_list.h"

#include <algorithm>

#include <windows.h>

#include "../user/input.h"
#include "../user/metrics.h"
#include "../user/window_model.h"
#include "control_painter.h"
#include "controls.h"

namespace platform {
namespace {

struct OpenList {
  HWND combo = nullptr;
  int highlight = -1;  // the entry Return or a tap would pick
  int top = 0;         // the first entry shown
  bool dragging = false;
  int grab = 0;  // where on the thumb the stylus holds it
};

OpenList g_list;

// The open drop-down, while it can still be used.
Window* OpenCombo() {
  Window* w = FindWindowRecord(g_list.combo);
  if (!w || w->kind != WindowKind::ComboBox || !WindowShown(g_list.combo) || !WindowUsable(g_list.combo)) {
    g_list = OpenList{};
    return nullptr;
  }
  return w;
}

int Count(const Window& combo) { return int(combo.control.items.size()); }

int VisibleItems(const Window& combo) {
  int room = (combo.control.dropHeight - (combo.rect.bottom - combo.rect.top)) / painter::ListItemHeight();
  return std::clamp(room, 1, std::max(Count(combo), 1));
}

RECT ListRect(const Window& combo) {
  RECT list = painter::ComboListRect(combo.rect, VisibleItems(combo));
  int bottom = GetSystemMetrics(SM_CYSCREEN) - kMenuBarHeight;
  if (list.bottom > bottom) {
    int height = list.bottom - list.top;
    list.bottom = combo.rect.top + 1;
    list.top = list.bottom - height;
  }
  return list;
}

void SetTop(const Window& combo, int top) {
  top = std::clamp(top, 0, std::max(0, Count(combo) - VisibleItems(combo)));
  if (top == g_list.top) return;
  g_list.top = top;
  NoteWindowModelChanged();
}

// Moves the highlight, scrolling as little as shows it.
void Highlight(const Window& combo, int index) {
  if (Count(combo) == 0) return;
  index = std::clamp(index, 0, Count(combo) - 1);
  int visible = VisibleItems(combo);
  if (index < g_list.top) SetTop(combo, index);
  else if (index >= g_list.top + visible) SetTop(combo, index - visible + 1);
  if (index == g_list.highlight) return;
  g_list.highlight = index;
  NoteWindowModelChanged();
}

// The entry the box shows: with an edit part the one its text names (whole,
// else as a beginning), without one the selection.
int EntryShown(const Window& combo) {
  const ControlState& s = combo.control;
  if ((combo.style & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST) return s.selection;
  if (combo.text.empty()) return -1;
  int found = int(SendMessageW(combo.handle, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(combo.text.c_str())));
  if (found == CB_ERR)
    found = int(SendMessageW(combo.handle, CB_FINDSTRING, WPARAM(-1), LPARAM(combo.text.c_str())));
  return found == CB_ERR ? -1 : found;
}

// A tap on the open list's scroll bar: the arrows scroll a line, the track
// a page, the thumb is taken for dragging.
bool TapScrollBar(const Window& combo, const RECT& list, int x, int y) {
  ListScrollBar bar;
  int visible = VisibleItems(combo);
  if (!painter::ComboListScrollBar(list, Count(combo), visible, g_list.top, &bar)) return false;
  if (RectContains(bar.up, x, y)) {
    SetTop(combo, g_list.top - 1);
  } else if (RectContains(bar.down, x, y)) {
    SetTop(combo, g_list.top + 1);
  } else if (RectContains(bar.thumb, x, y)) {
    g_list.dragging = true;
    g_list.grab = y - bar.thumb.top;
  } else if (RectContains(bar.track, x, y)) {
    SetTop(combo, g_list.top + (y < bar.thumb.top ? -visible : visible));
  } else {
    return false;
  }
  return true;
}

}  // namespace

HWND OpenDropDown() {
  Window* combo = OpenCombo();
  return combo ? combo->handle : nullptr;
}

void OpenDropList(HWND handle) {
  if (OpenDropDown() == handle) return;
  CloseDropList(false);
  SetFocus(handle);
  Notify(handle, CBN_DROPDOWN);
  Window* combo = FindWindowRecord(handle);
  if (!combo || combo->kind != WindowKind::ComboBox || !WindowShown(handle) || !WindowUsable(handle)) return;
  g_list = OpenList{handle, -1, 0, false, 0};
  int shown = EntryShown(*combo);
  // Opened on its entry, shown on the last line when it lies below the first page.
  if (shown >= 0) Highlight(*combo, shown);
  NoteWindowModelChanged();
}

void CloseDropList(bool pick) {
  Window* combo = OpenCombo();
  if (!combo) return;
  HWND handle = combo->handle;
  int picked = pick ? g_list.highlight : -1;
  g_list = OpenList{};
  NoteWindowModelChanged();
  if (picked >= 0) {
    CommitComboPick(handle, picked);
  } else {
    Notify(handle, CBN_SELENDCANCEL);
    Notify(handle, CBN_CLOSEUP);
  }
}

void PickComboEntry(HWND combo, int index) {
  OpenDropList(combo);
  if (OpenDropDown() != combo) return;
  g_list.highlight = index;
  CloseDropList(true);
}

bool TapDropList(int x, int y) {
  if (Window* combo = OpenCombo()) {
    RECT list = ListRect(*combo);
    if (RectContains(list, x, y) && TapScrollBar(*combo, list, x, y)) return true;
    int line = (y - list.top - 1) / painter::ListItemHeight();
    int index = g_list.top + line;
    bool onEntry = RectContains(list, x, y) && y > list.top && y < list.bottom - 1 && index < Count(*combo);
    if (onEntry) g_list.highlight = index;
    CloseDropList(onEntry);
    return true;
  }
  HWND target = WindowAtPoint(x, y);
  Window* w = FindWindowRecord(target);
  if (!w || w->kind != WindowKind::ComboBox) return false;
  // The arrow button opens the list; an edit part takes the tap itself.
  int button = painter::ComboButtonWidth(w->rect.bottom - w->rect.top) + 1;
  bool listOnly = (w->style & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST;
  if (!listOnly && x < w->rect.right - button) return false;
  OpenDropList(target);
  return true;
}

bool DragDropList(int, int y) {
  Window* combo = OpenCombo();
  if (!combo || !g_list.dragging) return false;
  ListScrollBar bar;
  int visible = VisibleItems(*combo);
  if (painter::ComboListScrollBar(ListRect(*combo), Count(*combo), visible, g_list.top, &bar))
    SetTop(*combo, painter::ComboListTopAt(bar, Count(*combo), visible, y - g_list.grab));
  return true;
}

void ReleaseDropList() { g_list.dragging = false; }

bool ScrollDropList(int lines) {
  Window* combo = OpenCombo();
  if (!combo) return false;
  SetTop(*combo, g_list.top + lines);
  return true;
}

bool DropListKey(HWND handle, WPARAM key) {
  Window* combo = OpenCombo();
  if (!combo || combo->handle != handle) return false;
  int last = Count(*combo) - 1;
  int page = std::max(1, VisibleItems(*combo) - 1);
  int at = g_list.highlight;
  switch (key) {
    case VK_UP: Highlight(*combo, at < 0 ? 0 : at - 1); return true;
    case VK_DOWN: Highlight(*combo, at + 1); return true;
    case VK_PRIOR: Highlight(*combo, at < 0 ? 0 : at - page); return true;
    case VK_NEXT: Highlight(*combo, at < 0 ? page : at + page); return true;
    case VK_HOME: Highlight(*combo, 0); return true;
    case VK_END: Highlight(*combo, last); return true;
    case VK_RETURN: CloseDropList(true); return true;
    case VK_ESCAPE: CloseDropList(false); return true;
    default: return false;
  }
}

bool ViewOpenDropList(DropListView* view) {
  Window* combo = OpenCombo();
  if (!combo) return false;
  view->combo = combo->handle;
  view->rect = ListRect(*combo);
  view->top = g_list.top;
  view->visible = VisibleItems(*combo);
  view->highlight = g_list.highlight;
  view->scrolls = painter::ComboListScrollBar(view->rect, Count(*combo), view->visible, g_list.top, &view->bar);
  return true;
}

RECT OpenDropListRect() {
  Window* combo = OpenCombo();
  return combo ? ListRect(*combo) : RECT{0, 0, 0, 0};
}

void PaintDropList(Canvas& screen) {
  Window* combo = OpenCombo();
  if (!combo) return;
  ComboState state;
  for (const std::u16string& item : combo->control.items) state.items.push_back(item);
  state.selection = g_list.highlight;
  state.topItem = g_list.top;
  state.open = true;
  painter::ComboList(screen, ListRect(*combo), state);
}

}  // namespace platform
