// The open list of a drop-down. The window system keeps each drop-down's
// entries and selection; the screen keeps which one (at most) is open, lays
// its list out below it (above it when the screen ends first) and turns a
// tap on a line into the user's pick.
#include "controls/drop_list.h"

#include <algorithm>

#include "controls/control_painter.h"
#include "controls/controls.h"
#include "user/input.h"
#include "user/metrics.h"
#include "user/window_model.h"

namespace platform {
namespace {

HWND g_open = nullptr;

// The open drop-down, while it can still be used.
Window* OpenCombo() {
  Window* w = FindWindowRecord(g_open);
  if (!w || w->kind != WindowKind::ComboBox || !WindowShown(g_open) || !WindowUsable(g_open)) {
    g_open = nullptr;
    return nullptr;
  }
  return w;
}

void Close() {
  if (!g_open) return;
  g_open = nullptr;
  NoteWindowModelChanged();
}

int VisibleItems(const Window& combo) {
  int count = int(combo.control.items.size());
  int room = (combo.control.dropHeight - (combo.rect.bottom - combo.rect.top)) / painter::ListItemHeight();
  return std::clamp(room, 1, std::max(count, 1));
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

// The first entry shown: the list scrolls so that the selection is in it.
int TopItem(const Window& combo) {
  int visible = VisibleItems(combo);
  int count = int(combo.control.items.size());
  return std::clamp(combo.control.selection - visible + 1, 0, std::max(0, count - visible));
}

}  // namespace

HWND OpenDropDown() {
  Window* combo = OpenCombo();
  return combo ? combo->handle : nullptr;
}

bool TapDropList(int x, int y) {
  if (Window* combo = OpenCombo()) {
    RECT list = ListRect(*combo);
    HWND handle = combo->handle;
    int line = (y - list.top - 1) / painter::ListItemHeight();
    int index = TopItem(*combo) + line;
    bool onEntry = RectContains(list, x, y) && y > list.top && index < int(combo->control.items.size());
    Close();
    if (onEntry) PickComboEntry(handle, index);
    return true;
  }
  HWND target = WindowAtPoint(x, y);
  Window* w = FindWindowRecord(target);
  if (!w || w->kind != WindowKind::ComboBox) return false;
  // The arrow button opens the list; the edit part takes the tap itself.
  int button = painter::ComboButtonWidth(w->rect.bottom - w->rect.top) + 1;
  if (x < w->rect.right - button) return false;
  SetFocus(target);
  g_open = target;
  NoteWindowModelChanged();
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
  state.selection = combo->control.selection;
  state.topItem = TopItem(*combo);
  state.open = true;
  painter::ComboList(screen, ListRect(*combo), state);
}

}  // namespace platform
