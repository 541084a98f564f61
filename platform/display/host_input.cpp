// Host input: taps first offered to the shell, then to the window under the
// stylus; typed text and keys as messages to the focused window, as the
// phone's keyboard driver sends them (WM_KEYDOWN, then WM_CHAR for keys that
// type a character); Tab moves the focus as a dialog's keyboard handling does.
#include "host_input.h"

#include <windows.h>

#include "../controls/drop_list.h"
#include "../text/utf.h"
#include "../user/input.h"
#include "../user/window_model.h"
#include "shared_screen.h"
#include "taps.h"

namespace platform {
namespace {

void Post(UINT message, WPARAM wParam) {
  if (HWND focus = FocusedWindow()) PostMessageW(focus, message, wParam, 1);
}

// Tab: the next tab stop of the focused control's dialog takes the focus.
void MoveFocusToNextTabStop() {
  HWND focus = FocusedWindow();
  Window* control = FindWindowRecord(focus);
  if (!control || !control->parent) return;
  HWND next = GetNextDlgTabItem(control->parent, focus, FALSE);
  if (next && next != focus) SetFocus(next);
}

}  // namespace

void HostTap(int x, int y) { DeliverTap(x, y); }

void HostText(const std::string& utf8) {
  for (char16_t unit : Utf8ToUtf16(utf8))
    if (!SendTextToScreen(unit)) TypeHostUnit(unit);
}

void HostKey(HostKeyCode key) {
  if (!SendKeyToScreen(int(key))) PressHostKey(key);
}

void HostWheel(int lines) {
  if (!SendWheelToScreen(lines)) TurnHostWheel(lines);
}

void HostDrag(int x, int y) {
  if (!SendDragToScreen(x, y)) DragHostStylus(x, y);
}

void HostRelease() {
  if (!SendReleaseToScreen()) ReleaseHostStylus();
}

void TypeHostUnit(char16_t unit) { Post(WM_CHAR, unit); }

void PressHostKey(HostKeyCode key) {
  switch (key) {
    case HostKeyCode::Backspace: Post(WM_KEYDOWN, VK_BACK); Post(WM_CHAR, 8); break;
    case HostKeyCode::Enter: Post(WM_KEYDOWN, VK_RETURN); Post(WM_CHAR, 13); break;
    case HostKeyCode::Escape: Post(WM_KEYDOWN, VK_ESCAPE); Post(WM_CHAR, 27); break;
    case HostKeyCode::Tab:
      // An open list closes unpicked as its drop-down loses the focus.
      MoveFocusToNextTabStop();
      break;
    case HostKeyCode::Left: Post(WM_KEYDOWN, VK_LEFT); break;
    case HostKeyCode::Right: Post(WM_KEYDOWN, VK_RIGHT); break;
    case HostKeyCode::Up: Post(WM_KEYDOWN, VK_UP); break;
    case HostKeyCode::Down: Post(WM_KEYDOWN, VK_DOWN); break;
    case HostKeyCode::PageUp: Post(WM_KEYDOWN, VK_PRIOR); break;
    case HostKeyCode::PageDown: Post(WM_KEYDOWN, VK_NEXT); break;
    case HostKeyCode::Home: Post(WM_KEYDOWN, VK_HOME); break;
    case HostKeyCode::End: Post(WM_KEYDOWN, VK_END); break;
  }
}

// The wheel scrolls an open list; nothing else on the phone scrolls.
void TurnHostWheel(int lines) { ScrollDropList(lines); }

void DragHostStylus(int x, int y) { DragDropList(x, y); }

void ReleaseHostStylus() { ReleaseDropList(); }

}  // namespace platform
