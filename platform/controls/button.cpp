// BUTTON: push buttons, check boxes (automatic or not, two or three
// states), radio buttons with their group, and group boxes.
#include "controls.h"

#include <commctrl.h>
#include <windows.h>

namespace platform {

LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* record = FindWindowRecord(button);
  if (!record) return 0;
  ControlState& s = record->control;
  DWORD type = record->style & BS_TYPEMASK;
  bool checkable = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                   type == BS_3STATE || type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON;
  switch (message) {
    case BM_GETCHECK:
      return checkable ? s.check : BST_UNCHECKED;
    case BM_SETCHECK: {
      int check = static_cast<int>(wParam);
      if (!checkable || s.check == check) return 0;
      if (check != BST_UNCHECKED && check != BST_CHECKED && check != BST_INDETERMINATE) return 0;
      s.check = check;
      Changed(button);
      return 0;
    }
    case BM_GETSTATE:
      return (checkable ? s.check : 0) | (s.pushed ? BST_PUSHED : 0) | (FocusedWindow() == button ? BST_FOCUS : 0);
    case BM_SETSTATE:
      if (s.pushed != (wParam != 0)) {
        s.pushed = wParam != 0;
        Changed(button);
      }
      return 0;
    case BM_CLICK:
      if (!WindowUsable(button) || !WindowShown(button)) return 0;
      ButtonProc(button, WM_LBUTTONDOWN, 0, 0);
      return ButtonProc(button, WM_LBUTTONUP, 0, 0);
    case WM_LBUTTONDOWN:
      if (type == BS_GROUPBOX) return 0;
      SetFocus(button);
      if (!(record = FindWindowRecord(button))) return 0;
      record->control.pushed = true;
      Changed(button);
      return 0;
    case WM_LBUTTONUP: {
      if (!record->control.pushed) return 0;
      record->control.pushed = false;
      Changed(button);
      if (type == BS_AUTOCHECKBOX) {
        s.check = s.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
      } else if (type == BS_AUTO3STATE) {
        s.check = (s.check + 1) % 3;
      } else if (type == BS_AUTORADIOBUTTON && s.check != BST_CHECKED) {
        s.check = BST_CHECKED;
        // The other automatic radio buttons of the dialog go out.
        if (Window* dialog = FindWindowRecord(record->parent))
          for (HWND sibling : dialog->children)
            if (Window* other = FindWindowRecord(sibling);
                other && sibling != button && other->kind == WindowKind::Button &&
                (other->style & BS_TYPEMASK) == BS_AUTORADIOBUTTON && other->control.check) {
              other->control.check = BST_UNCHECKED;
              Changed(sibling);
            }
      }
      Notify(button, BN_CLICKED);
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Changed(button);
      if (record->style & BS_NOTIFY) Notify(button, message == WM_SETFOCUS ? 6 : 7);  // BN_SETFOCUS, BN_KILLFOCUS
      return 0;
    default:
      return DefWindowProcW(button, message, wParam, lParam);
  }
}

}  // namespace platform
