// Routing a tap: to the program whose layer lies under the stylus, and in
// this program to the shell before the windows.
#include "taps.h"

#include "../shell/shell.h"
#include "../user/input.h"
#include "shared_screen.h"

namespace platform {

void DeliverTap(int x, int y) {
  if (!SendTapToScreen(x, y)) DeliverOwnTap(x, y);
}

void DeliverOwnTap(int x, int y) {
  if (TapShell(x, y)) return;
  if (HWND target = WindowAtPoint(x, y)) PostTap(target, x, y);
}

}  // namespace platform
