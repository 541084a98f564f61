// msctls_trackbar32: a slider with its range, position and page size,
// its thumb dragged along the channel.
#include "controls.h"

#include <algorithm>

#include <commctrl.h>
#include <windows.h>

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

void NotifyScroll(HWND trackbar, const Window& record, WORD code, int position) {
  UINT scroll = (record.style & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
  SendMessageW(record.parent, scroll, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(trackbar));
}

// The keyboard moves the thumb as Windows' trackbar does: the arrows a line
// (one position), Page Up and Down a page (a fifth of the range, at least
// one), Home and End to the ends; the dialog hears the step, then its end.
void StepTrackbar(HWND trackbar, Window& record, WPARAM key) {
  ControlState& s = record.control;
  int page = std::max(1, (s.rangeMax - s.rangeMin) / 5);
  int to;
  WORD code;
  switch (key) {
    case VK_LEFT: case VK_UP: to = s.position - 1, code = TB_LINEUP; break;
    case VK_RIGHT: case VK_DOWN: to = s.position + 1, code = TB_LINEDOWN; break;
    case VK_PRIOR: to = s.position - page, code = TB_PAGEUP; break;
    case VK_NEXT: to = s.position + page, code = TB_PAGEDOWN; break;
    case VK_HOME: to = s.rangeMin, code = TB_TOP; break;
    case VK_END: to = s.rangeMax, code = TB_BOTTOM; break;
    default: return;
  }
  SetTrackbarPosition(trackbar, record, to);
  int position = record.control.position;
  NotifyScroll(trackbar, record, code, position);
  if (Window* now = FindWindowRecord(trackbar)) NotifyScroll(trackbar, *now, TB_ENDTRACK, 0);
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
    case WM_KEYDOWN:
      StepTrackbar(trackbar, *record, wParam);
      return 0;
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
