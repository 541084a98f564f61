// COMBOBOX: a drop-down list, with or without an edit part, its entries
// (sorted or in insertion order), selection and the list's open height.
#include "controls.h"

#include <algorithm>

#include <commctrl.h>
#include <windows.h>

#include "drop_list.h"

namespace platform {

namespace {

// The closed height of a drop-down beyond the font's character height.
constexpr int kComboExtraHeight = 7;

int CompareNoCase(const std::u16string& a, const std::u16string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    char16_t x = UpperCaseAscii(a[i]), y = UpperCaseAscii(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool StartsWithNoCase(const std::u16string& text, const std::u16string& prefix) {
  return text.size() >= prefix.size() && CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
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

// Sent before every selection change the user makes.
void NotifySelectionChange(HWND combo) {
  Notify(combo, CBN_SELENDOK);
  Notify(combo, CBN_SELCHANGE);
}

// A navigation key on a closed drop-down selects a neighbouring entry at once
// (Home and End only without an edit part, where they move the caret).
void StepSelection(HWND combo, Window& record, WPARAM key) {
  int count = static_cast<int>(record.control.items.size());
  if (count == 0) return;
  int at = record.control.selection;
  int to = at;
  switch (key) {
    case VK_UP: to = at < 0 ? 0 : at - 1; break;
    case VK_DOWN: to = at + 1; break;
    case VK_HOME: to = 0; break;
    case VK_END: to = count - 1; break;
    default: return;
  }
  to = std::clamp(to, 0, count - 1);
  if (to == at) return;
  SelectComboItem(combo, record, to);
  NotifySelectionChange(combo);
}

}  // namespace

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
    case CB_GETEDITSEL: {
      if (!HasEditPart(*record)) return CB_ERR;
      DWORD start = static_cast<DWORD>(std::min(s.selStart, s.selEnd));
      DWORD end = static_cast<DWORD>(std::max(s.selStart, s.selEnd));
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = start;
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = end;
      return MAKELONG(start, end);
    }
    case CB_SETEDITSEL: {
      // Start -1 takes the selection away; end -1 selects to the end.
      if (!HasEditPart(*record)) return CB_ERR;
      int length = static_cast<int>(record->text.size());
      int start = static_cast<short>(LOWORD(lParam));
      int end = static_cast<short>(HIWORD(lParam));
      if (start == -1) start = end = std::clamp(s.selEnd, 0, length);
      if (end == -1 || end > length) end = length;
      start = std::clamp(start, 0, length);
      if (s.selStart != start || s.selEnd != end) {
        s.selStart = start;
        s.selEnd = end;
        Changed(combo);
      }
      return TRUE;
    }
    case CB_GETDROPPEDSTATE:
      return OpenDropDown() == combo ? TRUE : FALSE;
    case CB_SHOWDROPDOWN:
      if (wParam) OpenDropList(combo);
      else if (OpenDropDown() == combo) CloseDropList(false);
      return TRUE;
    case WM_KEYDOWN:
      // With the list closed, an edit part takes the caret keys itself.
      if (DropListKey(combo, wParam) || (HasEditPart(*record) && MoveCaretByKey(combo, *record, wParam))) return 0;
      StepSelection(combo, *record, wParam);
      return 0;
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
      TapIntoText(combo);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      // Focus going elsewhere closes an open list without a pick.
      if (message == WM_KILLFOCUS && OpenDropDown() == combo) CloseDropList(false);
      Changed(combo);
      Notify(combo, message == WM_SETFOCUS ? CBN_SETFOCUS : CBN_KILLFOCUS);
      return 0;
    default:
      return DefWindowProcW(combo, message, wParam, lParam);
  }
}

void InitComboBox(Window& combo) {
  // The template gives the height with the list open; closed, the box is
  // one line high.
  ControlState& s = combo.control;
  s.textLimit = kDefaultTextLimit;
  s.dropHeight = combo.rect.bottom - combo.rect.top;
  LONG closed = combo.baseUnitY + kComboExtraHeight;
  if (combo.rect.bottom - combo.rect.top > closed) combo.rect.bottom = combo.rect.top + closed;
  combo.text.clear();
}

void CommitComboPick(HWND combo, int index) {
  Window* record = FindWindowRecord(combo);
  if (!record || record->kind != WindowKind::ComboBox) return;
  if (index < 0 || index >= static_cast<int>(record->control.items.size())) return;
  // The edit part shows the entry before the dialog hears of the change.
  SelectComboItem(combo, *record, index);
  NotifySelectionChange(combo);
  Notify(combo, CBN_CLOSEUP);
}

}  // namespace platform
