// The open list of a drop-down: opened by a tap on a drop-down's arrow (on a
// list without edit part, anywhere on it), it lies above everything else.
// Its scroll bar scrolls it, keys move its highlight, a tap on a line or
// Return picks that entry, Escape or a tap elsewhere closes it unpicked.
#pragma once

#include "../gdi/raster.h"
#include "control_painter.h"

namespace platform {

// What the open list shows, in screen pixels, for dumps and tests.
struct DropListView {
  HWND combo = nullptr;
  RECT rect{};
  int top = 0;         // the first entry shown
  int visible = 0;     // how many entries it shows at once
  int highlight = -1;  // the entry Return or a tap would pick, -1 none
  bool scrolls = false;
  ListScrollBar bar;  // when it scrolls
};
// False when no list is open.
bool ViewOpenDropList(DropListView* view);

// Takes a tap at screen pixel (x, y) when it opens, uses or closes a list;
// false when the tap is for someone else.
bool TapDropList(int x, int y);
// The stylus moved to (x, y) while down, and was lifted: drags the thumb of
// the open list's scroll bar after a tap on it. False when no drag is on.
bool DragDropList(int x, int y);
void ReleaseDropList();
// The wheel turned by `lines` (negative: up) over the screen: scrolls the
// open list without moving its highlight. False when no list is open.
bool ScrollDropList(int lines);
// Opens the list of `combo` (CBN_DROPDOWN first), the entry matching its
// text highlighted and in view; closes any other list first.
void OpenDropList(HWND combo);
// Closes the open list: `pick` takes its highlighted entry as the user's
// choice, else the choice is cancelled.
void CloseDropList(bool pick);
// A key (VK_ code) for the open list of `combo`; false when it has none
// open or the key is not a list key.
bool DropListKey(HWND combo, WPARAM key);
// Paints the open list, if any, at its place on the screen.
void PaintDropList(Canvas& screen);
// Where the open list lies on the screen (empty when none is open).
RECT OpenDropListRect();
// The drop-down whose list is open, or null.
HWND OpenDropDown();

}  // namespace platform
