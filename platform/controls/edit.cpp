// EDIT: a single-line edit field with its text limit, selection and
// modified flag, typed into by the phone's input.
#include "controls.h"

#include <commctrl.h>
#include <windows.h>

namespace platform {

LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* record = FindWindowRecord(edit);
  if (!record) return 0;
  ControlState& s = record->control;
  switch (message) {
    case WM_SETTEXT: {
      // Text set by the program is taken whole (the limit bounds typing
      // only) and is not a change by the user.
      SetTextIfChanged(edit, *record, TextOf(lParam));
      s.modified = false;
      s.selStart = s.selEnd = 0;
      Notify(edit, EN_UPDATE);
      Notify(edit, EN_CHANGE);
      return TRUE;
    }
    case EM_LIMITTEXT:
      s.textLimit = wParam == 0 || wParam > static_cast<WPARAM>(kLargestTextLimit) ? kLargestTextLimit
                                                                                   : static_cast<int>(wParam);
      return 0;
    case EM_GETLIMITTEXT:
      return s.textLimit;
    case EM_GETMODIFY:
      return s.modified ? TRUE : FALSE;
    case EM_SETMODIFY:
      s.modified = wParam != 0;
      return 0;
    case EM_SETSEL: {
      int length = static_cast<int>(record->text.size());
      int start = static_cast<int>(static_cast<intptr_t>(wParam));
      int end = static_cast<int>(lParam);
      if (start == -1) {
        start = end = std::clamp(s.selEnd, 0, length);  // no selection, the caret stays
      } else {
        if (end < 0 || end > length) end = length;
        start = std::clamp(start, 0, length);
      }
      if (s.selStart != start || s.selEnd != end) {
        s.selStart = start;
        s.selEnd = end;
        Changed(edit);
      }
      return 0;
    }
    case EM_GETSEL: {
      DWORD start = static_cast<DWORD>(std::min(s.selStart, s.selEnd));
      DWORD end = static_cast<DWORD>(std::max(s.selStart, s.selEnd));
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = start;
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = end;
      return MAKELONG(start, end);
    }
    case WM_CHAR:
      if (record->style & ES_READONLY) return 0;
      if (TypeCharacter(edit, *record, static_cast<WCHAR>(wParam), (record->style & ES_NUMBER) != 0)) {
        Notify(edit, EN_UPDATE);
        Notify(edit, EN_CHANGE);
      }
      return 0;
    case WM_KEYDOWN:
      MoveCaretByKey(edit, *record, wParam);
      return 0;
    case WM_LBUTTONDOWN:
      TapIntoText(edit);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Changed(edit);
      Notify(edit, message == WM_SETFOCUS ? EN_SETFOCUS : EN_KILLFOCUS);
      return 0;
    default:
      return DefWindowProcW(edit, message, wParam, lParam);
  }
}

}  // namespace platform
