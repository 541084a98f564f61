// What the standard controls share: the notifications they send their
// dialog, repainting on a change, text from a message's parameter, and
// typing into an edit field (an edit control or a drop-down's edit part);
// and the table of their window procedures that the window system uses.
#include "controls.h"

#include <algorithm>

#include <commctrl.h>
#include <windows.h>

namespace platform {

namespace {

constexpr WCHAR kBackspace = 8;

// The window procedure of a control class; a window of another kind gets
// the default one.
WNDPROC ProcedureOfKind(WindowKind kind) {
  switch (kind) {
    case WindowKind::Button: return ButtonProc;
    case WindowKind::Static: return StaticProc;
    case WindowKind::Edit: return EditProc;
    case WindowKind::ComboBox: return ComboProc;
    case WindowKind::Trackbar: return TrackbarProc;
    default: return DefWindowProcW;
  }
}

// A control's initial state from its template.
void InitialState(Window& control) {
  switch (control.kind) {
    case WindowKind::Edit:
      control.control.textLimit = kDefaultTextLimit;
      break;
    case WindowKind::ComboBox:
      InitComboBox(control);
      break;
    default:
      break;
  }
}

}  // namespace

void Notify(HWND control, WORD code) {
  Window* record = FindWindowRecord(control);
  if (!record || !record->parent) return;
  SendMessageW(record->parent, WM_COMMAND, MAKEWPARAM(record->id, code), reinterpret_cast<LPARAM>(control));
}

void Changed(HWND control) { InvalidateWindow(control, nullptr, true); }

char16_t UpperCaseAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

std::u16string TextOf(LPARAM lParam) {
  return lParam ? std::u16string(reinterpret_cast<LPCWSTR>(lParam)) : std::u16string();
}

void SetTextIfChanged(HWND control, Window& record, const std::u16string& text) {
  if (record.text == text) return;
  record.text = text;
  Changed(control);
}

// Typing into an edit or a drop-down's edit part: backspace deletes, other
// characters replace the selection within the text limit. Returns true when
// the text changed.
bool TypeCharacter(HWND control, Window& record, WCHAR c, bool numberOnly) {
  ControlState& s = record.control;
  int length = static_cast<int>(record.text.size());
  int start = std::clamp(std::min(s.selStart, s.selEnd), 0, length);
  int end = std::clamp(std::max(s.selStart, s.selEnd), 0, length);
  if (c == kBackspace) {
    if (start == end && start == 0) return false;
    if (start == end) --start;
    record.text.erase(static_cast<size_t>(start), static_cast<size_t>(end - start));
    s.selStart = s.selEnd = start;
  } else {
    if (c < 0x20) return false;
    if (numberOnly && (c < u'0' || c > u'9')) return false;
    if (record.style & ES_UPPERCASE) c = UpperCaseAscii(c);
    if ((record.style & ES_LOWERCASE) && c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    if (length - (end - start) + 1 > s.textLimit) {
      if (record.kind == WindowKind::Edit) Notify(control, EN_MAXTEXT);
      return false;
    }
    record.text.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), 1, c);
    s.selStart = s.selEnd = start + 1;
  }
  s.modified = true;
  Changed(control);
  return true;
}

bool MoveCaretByKey(HWND control, Window& record, WPARAM key) {
  ControlState& s = record.control;
  int length = static_cast<int>(record.text.size());
  int from = std::min(s.selStart, s.selEnd), to = std::max(s.selStart, s.selEnd);
  int caret;
  switch (key) {
    case VK_LEFT: caret = from == to ? from - 1 : from; break;
    case VK_RIGHT: caret = from == to ? to + 1 : to; break;
    case VK_HOME: caret = 0; break;
    case VK_END: caret = length; break;
    default: return false;
  }
  caret = std::clamp(caret, 0, length);
  if (s.selStart != caret || s.selEnd != caret) {
    s.selStart = s.selEnd = caret;
    Changed(control);
  }
  return true;
}

void TapIntoText(HWND control) {
  SetFocus(control);
  // Taking the focus runs the control's procedure, which may change the
  // window records: the record is looked up afresh.
  if (Window* record = FindWindowRecord(control))
    record->control.selStart = record->control.selEnd = static_cast<int>(record->text.size());
}

void InstallStandardControls() { SetControlClasses(ControlClasses{ProcedureOfKind, InitialState}); }

}  // namespace platform
