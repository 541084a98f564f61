// Host input: taps first offered to the shell, then to the window under the
// stylus; typed text and editing keys as messages to the focused window.
#include "display/host_input.h"

#include "display/shared_screen.h"
#include "display/taps.h"
#include "text/utf.h"
#include "user/input.h"
#include "user/window_model.h"
#include "winuser.h"

namespace platform {
namespace {

constexpr WPARAM kVkTab = 0x09;
constexpr WPARAM kVkLeft = 0x25;
constexpr WPARAM kVkRight = 0x27;

void Post(UINT message, WPARAM wParam) {
  if (HWND focus = FocusedWindow()) PostMessageW(focus, message, wParam, 1);
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

void TypeHostUnit(char16_t unit) { Post(WM_CHAR, unit); }

void PressHostKey(HostKeyCode key) {
  switch (key) {
    case HostKeyCode::Backspace: Post(WM_CHAR, 8); break;
    case HostKeyCode::Enter: Post(WM_CHAR, 13); break;
    case HostKeyCode::Tab: Post(WM_KEYDOWN, kVkTab); break;
    case HostKeyCode::Left: Post(WM_KEYDOWN, kVkLeft); break;
    case HostKeyCode::Right: Post(WM_KEYDOWN, kVkRight); break;
  }
}

}  // namespace platform
