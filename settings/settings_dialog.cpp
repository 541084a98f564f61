// The settings dialog's process-wide state and the control calls shared by
// its pages, its mode display and its command handler.
#include "settings/settings_dialog.h"

#include <commctrl.h>

#include "settings/dialog_pages.h"
#include "settings/resource.h"

const int SliderIds[SLIDER_COUNT] = {IDC_SYSTEM_VOLUME, IDC_PHONE_VOLUME, IDC_SPEAKER_VOLUME, IDC_BRIGHTNESS,
                                     IDC_AC_BRIGHTNESS};

HINSTANCE SettingsInstance;
HWND SettingsWindow;
int CurrentPage = FIRST_PAGE;
int EditedMode;
int ActiveMode;
bool UnsavedChanges;
bool KeyboardShown;
DWORD SliderSnapshot[SLIDER_COUNT];
WCHAR InstallFolder[MAX_PATH];
WCHAR ModeBitmapPath[MAX_PATH + 20];
HBRUSH BackgroundBrush;

// Control identifiers of the dialog run from 1000 to 1130; the handles are
// kept by identifier.
#define FIRST_CONTROL_ID 1000
#define LAST_CONTROL_ID 1130
static HWND ControlHandles[LAST_CONTROL_ID - FIRST_CONTROL_ID + 1];

bool IsUserMode(int mode) { return mode >= FIRST_MODE && mode <= LAST_MODE; }

HWND CreateDialogFromResources(int templateId, HWND owner, DLGPROC procedure) {
  HRSRC found = FindResourceW(SettingsInstance, MAKEINTRESOURCEW(templateId), RT_DIALOG);
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(SettingsInstance, found);
  if (!loaded) return nullptr;
  LPCDLGTEMPLATEW layout = (LPCDLGTEMPLATEW)LockResource(loaded);
  if (!layout) return nullptr;
  return CreateDialogIndirectParamW(SettingsInstance, layout, owner, procedure, 0);
}

INT_PTR PaintOnBackground(HDC dc) {
  SetBkColor(dc, SETTINGS_BACKGROUND);
  return (INT_PTR)BackgroundBrush;
}

static void FetchControlHandle(HWND dialog, int id) {
  if (id >= FIRST_CONTROL_ID && id <= LAST_CONTROL_ID) ControlHandles[id - FIRST_CONTROL_ID] = GetDlgItem(dialog, id);
}

void FetchControlHandles(HWND dialog) {
  for (int i = 0; i < FRAME_CONTROL_COUNT; ++i) FetchControlHandle(dialog, FrameControls[i]);
  for (int page = FIRST_PAGE; page <= LAST_PAGE; ++page)
    for (int i = 0; i < PageControlCount[page]; ++i) FetchControlHandle(dialog, PageControls[page][i]);
}

HWND Ctl(int id) {
  if (id < FIRST_CONTROL_ID || id > LAST_CONTROL_ID) return nullptr;
  return ControlHandles[id - FIRST_CONTROL_ID];
}

bool IsChecked(int id) { return SendMessageW(Ctl(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(int id, bool checked) {
  SendMessageW(Ctl(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void EnableControl(int id, bool enabled) { EnableWindow(Ctl(id), enabled ? TRUE : FALSE); }

void ShowControl(int id, bool shown) { ShowWindow(Ctl(id), shown ? SW_SHOW : SW_HIDE); }

void SetControlText(int id, const WCHAR* text) { SetWindowTextW(Ctl(id), text); }

void GetControlText(int id, WCHAR* text, int capacity) {
  if (capacity <= 0) return;
  text[0] = 0;
  GetWindowTextW(Ctl(id), text, capacity);
  text[capacity - 1] = 0;
}

LONG ReadControlNumber(int id, int units) {
  WCHAR text[256];
  int capacity = units + 1 < (int)(sizeof text / sizeof text[0]) ? units + 1 : (int)(sizeof text / sizeof text[0]);
  GetControlText(id, text, capacity);
  return _wtol(text);
}

void SetControlNumber(int id, LONG value) {
  WCHAR text[16];
  wsprintfW(text, TEXT("%d"), value);
  SetControlText(id, text);
}

int ListSelection(int id) { return (int)SendMessageW(Ctl(id), CB_GETCURSEL, 0, 0); }

void SelectListItem(int id, int position) { SendMessageW(Ctl(id), CB_SETCURSEL, (WPARAM)position, 0); }

void AddListItem(int id, const WCHAR* text) { SendMessageW(Ctl(id), CB_ADDSTRING, 0, (LPARAM)text); }

DWORD SliderPosition(int id) { return (DWORD)SendMessageW(Ctl(id), TBM_GETPOS, 0, 0); }

void SetSliderPosition(int id, DWORD position) { SendMessageW(Ctl(id), TBM_SETPOS, TRUE, (LPARAM)position); }

void TakeSliderSnapshot() {
  for (int i = 0; i < SLIDER_COUNT; ++i) SliderSnapshot[i] = SliderPosition(SliderIds[i]);
}

bool SlidersMoved() {
  bool moved = false;
  for (int i = 0; i < SLIDER_COUNT; ++i)
    if (SliderPosition(SliderIds[i]) != SliderSnapshot[i]) moved = true;
  return moved;
}

void RepaintSettings() {
  InvalidateRect(SettingsWindow, nullptr, TRUE);
  UpdateWindow(SettingsWindow);
}

void SetModeBitmapPath(int mode) { wsprintfW(ModeBitmapPath, TEXT("%s\\%d.bmp"), InstallFolder, mode); }
