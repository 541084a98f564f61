// The dialog manager: dialogs from compiled templates (classic and extended
// layouts), dialog units from the template's font, WM_INITDIALOG and the
// default dialog behaviour, control lookup and the colour requests.
#include <algorithm>
#include <cstring>
#include <vector>

#include <commctrl.h>
#include <windows.h>

#include "paint.h"
#include "window_model.h"

#define ERROR_CONTROL_ID_NOT_FOUND 1421L

namespace platform {

namespace {

// Reads a template in place. Items are DWORD aligned from the start of the
// template, as the resource compiler lays them out.
class TemplateReader {
 public:
  explicit TemplateReader(const void* start) : start_(static_cast<const unsigned char*>(start)) {}
  WORD Word() {
    WORD value;
    std::memcpy(&value, start_ + at_, sizeof value);
    at_ += sizeof value;
    return value;
  }
  DWORD Dword() {
    DWORD value;
    std::memcpy(&value, start_ + at_, sizeof value);
    at_ += sizeof value;
    return value;
  }
  short Short() { return static_cast<short>(Word()); }
  BYTE Byte() { return start_[at_++]; }
  std::u16string Text() {
    std::u16string text;
    for (WORD c = Word(); c; c = Word()) text += static_cast<char16_t>(c);
    return text;
  }
  // A name field: nothing, a number after 0xFFFF, or a text.
  void NameOrNumber(std::u16string* text, WORD* number) {
    WORD first = Word();
    if (first == 0xFFFF) {
      *number = Word();
      return;
    }
    if (first == 0) return;
    text->push_back(static_cast<char16_t>(first));
    *text += Text();
  }
  void AlignDword() { at_ = (at_ + 3) & ~static_cast<size_t>(3); }
  void Skip(size_t bytes) { at_ += bytes; }

 private:
  const unsigned char* start_;
  size_t at_ = 0;
};

struct ItemTemplate {
  DWORD style = 0, exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  int id = 0;
  std::u16string className;
  std::u16string text;
};

struct DialogTemplate {
  DWORD style = 0, exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::u16string className, caption, fontName;
  int fontSize = 0;
  std::vector<ItemTemplate> items;
};

std::u16string AtomClass(WORD atom) {
  switch (atom) {
    case 0x80: return u"BUTTON";
    case 0x81: return u"EDIT";
    case 0x82: return u"STATIC";
    case 0x83: return u"LISTBOX";
    case 0x84: return u"SCROLLBAR";
    case 0x85: return u"COMBOBOX";
    default: return u"";
  }
}

DialogTemplate ParseTemplate(const void* data) {
  TemplateReader in(data);
  DialogTemplate t;
  WORD version = in.Word();
  WORD signature = in.Word();
  bool extended = version == 1 && signature == 0xFFFF;
  if (extended) {
    in.Dword();  // help identifier
    t.exStyle = in.Dword();
    t.style = in.Dword();
  } else {
    t.style = version | (static_cast<DWORD>(signature) << 16);
    t.exStyle = in.Dword();
  }
  WORD count = in.Word();
  t.x = in.Short();
  t.y = in.Short();
  t.cx = in.Short();
  t.cy = in.Short();
  std::u16string menu;
  WORD menuId = 0, classAtom = 0;
  in.NameOrNumber(&menu, &menuId);
  in.NameOrNumber(&t.className, &classAtom);
  t.caption = in.Text();
  if (t.style & DS_SETFONT) {
    t.fontSize = in.Word();
    if (extended) {
      in.Word();  // weight
      in.Byte();  // italic
      in.Byte();  // character set
    }
    t.fontName = in.Text();
  }
  for (WORD i = 0; i < count; ++i) {
    in.AlignDword();
    ItemTemplate item;
    if (extended) {
      in.Dword();  // help identifier
      item.exStyle = in.Dword();
      item.style = in.Dword();
    } else {
      item.style = in.Dword();
      item.exStyle = in.Dword();
    }
    item.x = in.Short();
    item.y = in.Short();
    item.cx = in.Short();
    item.cy = in.Short();
    item.id = extended ? static_cast<int>(in.Dword()) : in.Word();
    WORD atom = 0, textId = 0;
    in.NameOrNumber(&item.className, &atom);
    if (item.className.empty()) item.className = AtomClass(atom);
    in.NameOrNumber(&item.text, &textId);
    in.Skip(in.Word());  // creation data
    t.items.push_back(item);
  }
  return t;
}

// Windows' MulDiv: a * b / c rounded half away from zero.
LONG MulDivRounded(LONG a, LONG b, LONG c) {
  int64_t product = static_cast<int64_t>(a) * b;
  int64_t half = c / 2;
  return static_cast<LONG>(product >= 0 ? (product + half) / c : (product - half) / c);
}

// Dialog base units of a font: the average character width and the
// character height with leading, in pixels, at the phone's 96 dots per
// inch. The phone's fonts (Tahoma, and "System", which is Tahoma-shaped
// there) average 6 of 11 pixels wide, so Tahoma 8 gives 6 by 13: the 159
// units of the portrait settings layout fill the 240-pixel screen.
void BaseUnits(int pointSize, int* x, int* y) {
  int size = pointSize > 0 ? pointSize : 8;
  int height = MulDivRounded(size, 96, 72);
  *x = MulDivRounded(height, 6, 11);
  *y = height + 2;
}

// Messages whose answer a dialog procedure returns itself rather than
// through DWL_MSGRESULT.
bool AnswerReturnedDirectly(UINT message) {
  return message == WM_INITDIALOG || (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
}

LRESULT CALLBACK DialogWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* record = FindWindowRecord(dialog);
  if (!record) return 0;
  DLGPROC procedure = record->dialogProc;
  INT_PTR answer = procedure ? procedure(dialog, message, wParam, lParam) : 0;
  if (AnswerReturnedDirectly(message) && (answer || message == WM_INITDIALOG)) return answer;
  if (answer) {
    record = FindWindowRecord(dialog);
    return record ? record->dialogResult : 0;
  }
  return DefDlgProcW(dialog, message, wParam, lParam);
}

HWND FirstTabStop(const Window& dialog) {
  for (HWND child : dialog.children) {
    Window* c = FindWindowRecord(child);
    if (c && (c->style & WS_TABSTOP) && (c->style & WS_VISIBLE) && !(c->style & WS_DISABLED)) return child;
  }
  return nullptr;
}

}  // namespace

WindowKind KindOfClass(const std::u16string& className) {
  std::u16string upper;
  for (char16_t c : className) upper += (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
  if (upper == u"BUTTON") return WindowKind::Button;
  if (upper == u"STATIC") return WindowKind::Static;
  if (upper == u"EDIT") return WindowKind::Edit;
  if (upper == u"COMBOBOX") return WindowKind::ComboBox;
  if (upper == u"MSCTLS_TRACKBAR32") return WindowKind::Trackbar;
  return WindowKind::Generic;
}

}  // namespace platform

HWND CreateDialogIndirectParamW(HINSTANCE, LPCDLGTEMPLATEW dialogTemplate, HWND parent, DLGPROC dialogProc,
                                LPARAM initParam) {
  using namespace platform;
  if (!dialogTemplate) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (parent && !FindWindowRecord(parent)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  DialogTemplate t = ParseTemplate(dialogTemplate);
  Window dialog;
  dialog.kind = WindowKind::Dialog;
  dialog.thread = std::this_thread::get_id();
  dialog.className = t.className.empty() ? u"Dialog" : t.className;
  dialog.text = t.caption;
  dialog.style = t.style & ~static_cast<DWORD>(WS_VISIBLE);
  dialog.exStyle = t.exStyle;
  dialog.fontName = t.fontName.empty() ? u"System" : t.fontName;
  dialog.fontSize = t.fontSize > 0 ? t.fontSize : 8;
  BaseUnits(dialog.fontSize, &dialog.baseUnitX, &dialog.baseUnitY);
  dialog.proc = DialogWindowProc;
  dialog.dialogProc = dialogProc;
  // A child dialog lies in its parent; a popup's parent is only its owner.
  if (t.style & WS_CHILD) dialog.parent = parent;
  int frame = FrameWidth(dialog);
  LONG width = MulDivRounded(t.cx, dialog.baseUnitX, 4) + 2 * frame;
  LONG height = MulDivRounded(t.cy, dialog.baseUnitY, 8) + 2 * frame;
  LONG left = MulDivRounded(t.x, dialog.baseUnitX, 4);
  LONG top = MulDivRounded(t.y, dialog.baseUnitY, 8);
  if (dialog.parent) {
    RECT client = ClientRectOnScreen(dialog.parent);
    left += client.left;
    top += client.top;
  } else if (t.style & DS_CENTER) {
    left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  }
  dialog.rect = {left, top, left + width, top + height};
  int baseX = dialog.baseUnitX, baseY = dialog.baseUnitY;
  HWND handle = AddWindowRecord(std::move(dialog));
  RECT client = ClientRectOnScreen(handle);

  for (const ItemTemplate& item : t.items) {
    Window control;
    control.kind = KindOfClass(item.className);
    control.thread = std::this_thread::get_id();
    control.className = item.className;
    control.text = item.text;
    control.style = item.style | WS_CHILD;
    control.exStyle = item.exStyle;
    control.id = static_cast<WORD>(item.id);
    control.parent = handle;
    LONG x = client.left + MulDivRounded(item.x, baseX, 4);
    LONG y = client.top + MulDivRounded(item.y, baseY, 8);
    control.rect = {x, y, x + MulDivRounded(item.cx, baseX, 4), y + MulDivRounded(item.cy, baseY, 8)};
    control.baseUnitX = baseX;
    control.baseUnitY = baseY;
    control.proc = ControlProcedure(control.kind);
    InitControlState(control);
    AddWindowRecord(std::move(control));
  }

  Window* record = FindWindowRecord(handle);
  HWND first = FirstTabStop(*record);
  LRESULT focusDefault = SendMessageW(handle, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), initParam);
  record = FindWindowRecord(handle);
  if (!record) return nullptr;  // destroyed while initialising
  if (focusDefault && first && FindWindowRecord(first)) SetFocus(first);
  if (t.style & WS_VISIBLE) ShowWindow(handle, SW_SHOWNORMAL);
  return handle;
}

HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND parent, DLGPROC dialogProc, LPARAM initParam) {
  HRSRC found = FindResourceW(instance, templateName, RT_DIALOG);
  if (!found) return nullptr;
  auto dialogTemplate = static_cast<LPCDLGTEMPLATEW>(LockResource(LoadResource(instance, found)));
  return CreateDialogIndirectParamW(instance, dialogTemplate, parent, dialogProc, initParam);
}

LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  using namespace platform;
  Window* record = FindWindowRecord(dialog);
  if (!record) return 0;
  switch (message) {
    case WM_CLOSE:
      // Closing a dialog is its Cancel command, left to the dialog procedure.
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
      return 0;
    case WM_SETFOCUS:
      if (record->lastFocus && FindWindowRecord(record->lastFocus)) SetFocus(record->lastFocus);
      return 0;
    default:
      if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) return 0;
      return DefWindowProcW(dialog, message, wParam, lParam);
  }
}

HWND GetDlgItem(HWND dialog, int id) {
  using namespace platform;
  Window* record = FindWindowRecord(dialog);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  for (HWND child : record->children) {
    Window* c = FindWindowRecord(child);
    if (c && c->id == static_cast<WORD>(id)) return child;
  }
  SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
  return nullptr;
}

// The tab stop after (or before) `control` among the dialog's shown and
// enabled children, in template order and wrapping round; `control` itself
// when it is the only one.
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  using namespace platform;
  Window* record = FindWindowRecord(dialog);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  std::vector<HWND> stops;
  for (HWND child : record->children) {
    Window* c = FindWindowRecord(child);
    if (c && (c->style & WS_TABSTOP) && (c->style & WS_VISIBLE) && !(c->style & WS_DISABLED)) stops.push_back(child);
  }
  if (stops.empty()) return control;
  size_t count = stops.size();
  auto at = std::find(stops.begin(), stops.end(), control);
  if (at == stops.end()) return previous ? stops.back() : stops.front();
  size_t index = static_cast<size_t>(at - stops.begin());
  return stops[previous ? (index + count - 1) % count : (index + 1) % count];
}

int GetDlgCtrlID(HWND window) {
  platform::Window* record = platform::FindWindowRecord(window);
  return record ? record->id : 0;
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND control = GetDlgItem(dialog, id);
  return control ? SendMessageW(control, message, wParam, lParam) : 0;
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
  HWND control = GetDlgItem(dialog, id);
  return control ? SetWindowTextW(control, text) : FALSE;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int capacity) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) {
    if (buffer && capacity > 0) buffer[0] = 0;
    return 0;
  }
  return static_cast<UINT>(GetWindowTextW(control, buffer, capacity));
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) return FALSE;
  SendMessageW(control, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  return control ? static_cast<UINT>(SendMessageW(control, BM_GETCHECK, 0, 0)) : 0;
}
