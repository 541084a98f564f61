// The standard controls: BUTTON (push buttons, check boxes, group boxes),
// STATIC, EDIT, COMBOBOX and msctls_trackbar32, each with its state kept in
// the window record, its messages and the notifications it sends its dialog.
#include <algorithm>

#include "include/commctrl.h"
#include "include/winuser.h"
#include "window_model.h"

namespace platform {

namespace {

// Windows' default text limit of a single-line edit, and the largest one.
constexpr int kDefaultTextLimit = 30000;
constexpr int kLargestTextLimit = 0x7FFFFFFE;
constexpr WCHAR kBackspace = 8;
// The closed height of a drop-down beyond the font's character height.
constexpr int kComboExtraHeight = 7;
// Pixels at each end of a trackbar's channel that the thumb cannot reach.
constexpr int kTrackbarMargin = 8;
constexpr WORD kStaticClicked = 0;  // STN_CLICKED

void Notify(HWND control, WORD code) {
  Window* record = FindWindowRecord(control);
  if (!record || !record->parent) return;
  SendMessageW(record->parent, WM_COMMAND, MAKEWPARAM(record->id, code), reinterpret_cast<LPARAM>(control));
}

void Changed(HWND control) { InvalidateWindow(control, nullptr, true); }

char16_t FoldCase(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

int CompareNoCase(const std::u16string& a, const std::u16string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    char16_t x = FoldCase(a[i]), y = FoldCase(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool StartsWithNoCase(const std::u16string& text, const std::u16string& prefix) {
  return text.size() >= prefix.size() && CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

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
    if (record.style & ES_UPPERCASE) c = FoldCase(c);
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

LRESULT CALLBACK StaticProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* record = FindWindowRecord(label);
  if (!record) return 0;
  if (message == WM_LBUTTONUP && (record->style & SS_NOTIFY)) {
    Notify(label, kStaticClicked);
    return 0;
  }
  return DefWindowProcW(label, message, wParam, lParam);
}

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
    case WM_LBUTTONDOWN:
      // A tap puts the caret at the end of the text.
      SetFocus(edit);
      if ((record = FindWindowRecord(edit))) record->control.selStart = record->control.selEnd =
          static_cast<int>(record->text.size());
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

bool HasEditPart(const Window& combo) { return (combo.style & CBS_DROPDOWNLIST) != CBS_DROPDOWNLIST; }

void SelectComboItem(HWND combo, Window& record, int index) {
  ControlState& s = record.control;
  if (s.selection != index) {
    s.selection = index;
    Changed(combo);
  }
  SetTextIfChanged(combo, record, index >= 0 ? s.items[static_cast<size_t>(index)] : std::u16string());
  s.selStart = 0;
  s.selEnd = static_cast<int>(record.text.size());
}

int FindItem(const ControlState& s, WPARAM startAfter, const std::u16string& text, bool exact) {
  int count = static_cast<int>(s.items.size());
  int start = static_cast<int>(static_cast<intptr_t>(startAfter));
  if (start < -1 || start >= count) start = -1;
  for (int k = 1; k <= count; ++k) {
    int i = (start + k) % count;
    const std::u16string& item = s.items[static_cast<size_t>(i)];
    if (exact ? CompareNoCase(item, text) == 0 : StartsWithNoCase(item, text)) return i;
  }
  return CB_ERR;
}

LRESULT CALLBACK ComboProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* record = FindWindowRecord(combo);
  if (!record) return 0;
  ControlState& s = record->control;
  int count = static_cast<int>(s.items.size());
  int index = static_cast<int>(static_cast<intptr_t>(wParam));
  switch (message) {
    case CB_ADDSTRING: {
      if (!lParam) return CB_ERR;
      std::u16string text = TextOf(lParam);
      size_t at = s.items.size();
      if (record->style & CBS_SORT) {
        // After the equal entries, so that entries added in order keep it.
        at = static_cast<size_t>(std::upper_bound(s.items.begin(), s.items.end(), text,
                                                  [](const std::u16string& a, const std::u16string& b) {
                                                    return CompareNoCase(a, b) < 0;
                                                  }) -
                                 s.items.begin());
      }
      s.items.insert(s.items.begin() + static_cast<long>(at), text);
      s.itemData.insert(s.itemData.begin() + static_cast<long>(at), 0);
      if (s.selection >= static_cast<int>(at)) ++s.selection;
      Changed(combo);
      return static_cast<LRESULT>(at);
    }
    case CB_INSERTSTRING: {
      if (!lParam || index < -1 || index > count) return CB_ERR;
      size_t at = index == -1 ? s.items.size() : static_cast<size_t>(index);
      s.items.insert(s.items.begin() + static_cast<long>(at), TextOf(lParam));
      s.itemData.insert(s.itemData.begin() + static_cast<long>(at), 0);
      if (s.selection >= static_cast<int>(at)) ++s.selection;
      Changed(combo);
      return static_cast<LRESULT>(at);
    }
    case CB_DELETESTRING:
      if (index < 0 || index >= count) return CB_ERR;
      s.items.erase(s.items.begin() + index);
      s.itemData.erase(s.itemData.begin() + index);
      if (s.selection == index) s.selection = -1;
      else if (s.selection > index) --s.selection;
      Changed(combo);
      return count - 1;
    case CB_RESETCONTENT:
      if (!s.items.empty() || s.selection != -1) Changed(combo);
      s.items.clear();
      s.itemData.clear();
      s.selection = -1;
      SetTextIfChanged(combo, *record, u"");
      return CB_OKAY;
    case CB_GETCOUNT:
      return count;
    case CB_SETCURSEL:
      if (index < 0 || index >= count) {
        SelectComboItem(combo, *record, -1);
        return CB_ERR;
      }
      SelectComboItem(combo, *record, index);
      return index;
    case CB_GETCURSEL:
      return s.selection;
    case CB_GETLBTEXT: {
      // As in Windows the whole entry is copied: the caller sizes the
      // buffer with CB_GETLBTEXTLEN.
      if (index < 0 || index >= count || !lParam) return CB_ERR;
      const std::u16string& item = s.items[static_cast<size_t>(index)];
      auto buffer = reinterpret_cast<LPWSTR>(lParam);
      std::copy(item.begin(), item.end(), buffer);
      buffer[item.size()] = 0;
      return static_cast<LRESULT>(item.size());
    }
    case CB_GETLBTEXTLEN:
      if (index < 0 || index >= count) return CB_ERR;
      return static_cast<LRESULT>(s.items[static_cast<size_t>(index)].size());
    case CB_FINDSTRINGEXACT:
    case CB_FINDSTRING:
      if (!lParam || count == 0) return CB_ERR;
      return FindItem(s, wParam, TextOf(lParam), message == CB_FINDSTRINGEXACT);
    case CB_SELECTSTRING: {
      if (!lParam || count == 0) return CB_ERR;
      int found = FindItem(s, wParam, TextOf(lParam), false);
      if (found != CB_ERR) SelectComboItem(combo, *record, found);
      return found;
    }
    case CB_SETITEMDATA:
      if (index < 0 || index >= count) return CB_ERR;
      s.itemData[static_cast<size_t>(index)] = lParam;
      return TRUE;
    case CB_GETITEMDATA:
      if (index < 0 || index >= count) return CB_ERR;
      return s.itemData[static_cast<size_t>(index)];
    case CB_LIMITTEXT:
      if (!HasEditPart(*record)) return CB_ERR;
      s.textLimit = wParam == 0 || wParam > static_cast<WPARAM>(kLargestTextLimit) ? kLargestTextLimit
                                                                                   : static_cast<int>(wParam);
      return TRUE;
    case CB_GETDROPPEDSTATE:
      return FALSE;
    case WM_SETTEXT: {
      if (!HasEditPart(*record)) {
        // A list without edit part shows only its entries: the text selects one.
        int found = count ? FindItem(s, static_cast<WPARAM>(-1), TextOf(lParam), true) : CB_ERR;
        if (found == CB_ERR) return CB_ERR;
        SelectComboItem(combo, *record, found);
        return TRUE;
      }
      SetTextIfChanged(combo, *record, TextOf(lParam));
      s.selStart = s.selEnd = 0;
      return TRUE;
    }
    case WM_CHAR:
      if (!HasEditPart(*record)) return 0;
      if (TypeCharacter(combo, *record, static_cast<WCHAR>(wParam), false)) {
        Notify(combo, CBN_EDITUPDATE);
        Notify(combo, CBN_EDITCHANGE);
      }
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(combo);
      if ((record = FindWindowRecord(combo))) record->control.selStart = record->control.selEnd =
          static_cast<int>(record->text.size());
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Changed(combo);
      Notify(combo, message == WM_SETFOCUS ? CBN_SETFOCUS : CBN_KILLFOCUS);
      return 0;
    default:
      return DefWindowProcW(combo, message, wParam, lParam);
  }
}

void SetTrackbarPosition(HWND trackbar, Window& record, int position) {
  ControlState& s = record.control;
  position = std::clamp(position, s.rangeMin, std::max(s.rangeMin, s.rangeMax));
  if (s.position == position) return;
  s.position = position;
  Changed(trackbar);
}

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

}  // namespace

WNDPROC ControlProcedure(WindowKind kind) {
  switch (kind) {
    case WindowKind::Button: return ButtonProc;
    case WindowKind::Static: return StaticProc;
    case WindowKind::Edit: return EditProc;
    case WindowKind::ComboBox: return ComboProc;
    case WindowKind::Trackbar: return TrackbarProc;
    default: return DefWindowProcW;
  }
}

void InitControlState(Window& control) {
  ControlState& s = control.control;
  switch (control.kind) {
    case WindowKind::Edit:
      s.textLimit = kDefaultTextLimit;
      break;
    case WindowKind::ComboBox: {
      // The template gives the height with the list open; closed, the box
      // is one line high.
      s.textLimit = kDefaultTextLimit;
      s.dropHeight = control.rect.bottom - control.rect.top;
      LONG closed = control.baseUnitY + kComboExtraHeight;
      if (control.rect.bottom - control.rect.top > closed) control.rect.bottom = control.rect.top + closed;
      control.text.clear();
      break;
    }
    default:
      break;
  }
}

void PickComboEntry(HWND combo, int index) {
  Window* record = FindWindowRecord(combo);
  if (!record || record->kind != WindowKind::ComboBox) return;
  if (index < 0 || index >= static_cast<int>(record->control.items.size())) return;
  SetFocus(combo);
  Notify(combo, CBN_DROPDOWN);
  if (!(record = FindWindowRecord(combo))) return;
  // The edit part shows the entry before the dialog hears of the change.
  SelectComboItem(combo, *record, index);
  Notify(combo, CBN_SELCHANGE);
  Notify(combo, CBN_SELENDOK);
  Notify(combo, CBN_CLOSEUP);
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
