// msctls_trackbar32: a slider with its range, position and page size,
// its thumb dragged along the channel.
#include "controls/controls.h"

#include <algorithm>

#include "include/commctrl.h"
#include "include/winuser.h"

namespace platform {

namespace {

// Pixels at each end of a trackbar's channel that the thumb cannot reach.
constexpr int kTrackbarMargin = 8;

void SetTrackbarPosition(HWND trackbar, Window& record, int position) {
  ControlState& s = record.control;
  position = std::clamp(position, s.rangeMin, std::max(s.rangeMin, s.rangeMax));
  if (s.position == position) return;
  s.position = position;
  Changed(trackbar);
}

}  // namespace

LRESULT CALLBACK TrackbarProc(HWND trackbar, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* record = FindWindowRecord(trackbar);
  if (!record) return 0;
  ControlState& s = record->control;
  switch (message) {
    case TBM_SETRANGE:
      s.rangeMin = static_cast<short>(LOWORD(lParam));
      s.rangeMax = static_cast<short>(HIWORD(lParam));
      Changed(trackbar);
      SetTrackbarPosition(trackbar, *record, s.position);
      return 0;
    case TBM_SETRANGEMIN:
      s.rangeMin = static_cast<int>(lParam);
      Changed(trackbar);
      SetTrackbarPosition(trackbar, *record, s.position);
      return 0;
    case TBM_SETRANGEMAX:
      s.rangeMax = static_cast<int>(lParam);
      Changed(trackbar);
      SetTrackbarPosition(trackbar, *record, s.position);
      return 0;
    case TBM_GETRANGEMIN:
      return s.rangeMin;
    case TBM_GETRANGEMAX:
      return s.rangeMax;
    case TBM_SETPOS:
      SetTrackbarPosition(trackbar, *record, static_cast<int>(lParam));
      return 0;
    case TBM_GETPOS:
      return s.position;
    case WM_LBUTTONDOWN: {
      // A tap on the channel moves the thumb there.
      SetFocus(trackbar);
      if (!(record = FindWindowRecord(trackbar))) return 0;
      int x = static_cast<short>(LOWORD(lParam));
      int width = record->rect.right - record->rect.left - 2 * kTrackbarMargin;
      int span = record->control.rangeMax - record->control.rangeMin;
      int position = record->control.rangeMin;
      if (width > 0) position += (std::clamp(x - kTrackbarMargin, 0, width) * span + width / 2) / width;
      SlideTrackbar(trackbar, position);
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Changed(trackbar);
      return 0;
    default:
      return DefWindowProcW(trackbar, message, wParam, lParam);
  }
}

void SlideTrackbar(HWND trackbar, int position) {
  Window* record = FindWindowRecord(trackbar);
  if (!record || record->kind != WindowKind::Trackbar) return;
  SetTrackbarPosition(trackbar, *record, position);
  int now = record->control.position;
  UINT scroll = (record->style & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
  HWND parent = record->parent;
  LPARAM self = reinterpret_cast<LPARAM>(trackbar);
  SendMessageW(parent, scroll, MAKEWPARAM(TB_THUMBTRACK, now), self);
  SendMessageW(parent, scroll, MAKEWPARAM(TB_THUMBPOSITION, now), self);
  SendMessageW(parent, scroll, MAKEWPARAM(TB_ENDTRACK, 0), self);
}

}  // namespace platform
