// STATIC: a label, which tells its dialog of a tap when it asks to
// (SS_NOTIFY).
#include "controls.h"

#include <commctrl.h>
#include <windows.h>

namespace platform {

namespace {

constexpr WORD kStaticClicked = 0;  // STN_CLICKED

}  // namespace

LRESULT CALLBACK StaticProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* record = FindWindowRecord(label);
  if (!record) return 0;
  if (message == WM_LBUTTONUP && (record->style & SS_NOTIFY)) {
    Notify(label, kStaticClicked);
    return 0;
  }
  return DefWindowProcW(label, message, wParam, lParam);
}

}  // namespace platform
