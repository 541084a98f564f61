// The callers dialog: the contacts category whose callers ring (or nobody),
// their ring volume 1 to 5, and whether a second call within three minutes
// rings. It runs the program's messages itself until it is closed, with the
// settings dialog disabled below it, as a message box does.
#include "settings/callers_dialog.h"

#include <aygshell.h>
#include <strsafe.h>

#include "phone/contact_categories.h"
#include "settings/count_of.h"
#include "settings/mode_binding.h"
#include "settings/resource.h"
#include "settings/settings_dialog.h"

// The category list's first entry, which lets nobody through.
static const WCHAR NobodyEntry[] = TEXT("(nobody)");
#define NOBODY_POSITION 0

static const WCHAR* const VolumeEntries[] = {TEXT("1"), TEXT("2"), TEXT("3"), TEXT("4"), TEXT("5")};

// How the dialog was closed: 0 while it is open, else IDOK or IDCANCEL.
static int CallersAnswer;

static void FillCallerControls(HWND dialog) {
  HWND categories = GetDlgItem(dialog, IDC_CALLER_CATEGORY);
  FillContactCategoryList(categories);
  SendMessageW(categories, CB_INSERTSTRING, NOBODY_POSITION, (LPARAM)NobodyEntry);
  int position = NOBODY_POSITION;
  if (EditedCallerRules.AllowCategory[0]) {
    // The search starts after the nobody entry; a find there is a wrap-around.
    LRESULT found =
        SendMessageW(categories, CB_FINDSTRINGEXACT, NOBODY_POSITION, (LPARAM)EditedCallerRules.AllowCategory);
    // A category no contact has any longer is still offered, so that "ok" keeps it.
    if (found == CB_ERR || found == NOBODY_POSITION)
      found = SendMessageW(categories, CB_ADDSTRING, 0, (LPARAM)EditedCallerRules.AllowCategory);
    if (found != CB_ERR) position = (int)found;
  }
  SendMessageW(categories, CB_SETCURSEL, (WPARAM)position, 0);

  HWND volumes = GetDlgItem(dialog, IDC_CALLER_VOLUME);
  for (const WCHAR* entry : VolumeEntries) SendMessageW(volumes, CB_ADDSTRING, 0, (LPARAM)entry);
  SendMessageW(volumes, CB_SETCURSEL, (WPARAM)(EditedCallerRules.AllowVolume - ALLOW_VOLUME_LOWEST), 0);

  SendDlgItemMessageW(dialog, IDC_REPEAT_CALLS, BM_SETCHECK,
                      EditedCallerRules.RepeatCalls ? BST_CHECKED : BST_UNCHECKED, 0);
}

// The rules the controls show; what cannot be read keeps the edited value.
static CallerRules ReadCallerControls(HWND dialog) {
  CallerRules rules = EditedCallerRules;
  HWND categories = GetDlgItem(dialog, IDC_CALLER_CATEGORY);
  LRESULT position = SendMessageW(categories, CB_GETCURSEL, 0, 0);
  if (position == NOBODY_POSITION) {
    rules.AllowCategory[0] = 0;
  } else if (position != CB_ERR) {
    LRESULT length = SendMessageW(categories, CB_GETLBTEXTLEN, (WPARAM)position, 0);
    if (length >= 0 && length < CATEGORY_WIDTH) {
      WCHAR text[CATEGORY_WIDTH];
      text[0] = 0;
      SendMessageW(categories, CB_GETLBTEXT, (WPARAM)position, (LPARAM)text);
      text[CATEGORY_WIDTH - 1] = 0;
      StringCchCopyW(rules.AllowCategory, COUNT_OF(rules.AllowCategory), text);
    }
  }
  LRESULT volume = SendDlgItemMessageW(dialog, IDC_CALLER_VOLUME, CB_GETCURSEL, 0, 0);
  if (volume >= 0 && volume <= ALLOW_VOLUME_LOUDEST - ALLOW_VOLUME_LOWEST)
    rules.AllowVolume = (DWORD)volume + ALLOW_VOLUME_LOWEST;
  rules.RepeatCalls = SendDlgItemMessageW(dialog, IDC_REPEAT_CALLS, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
  return rules;
}

static bool SameRules(const CallerRules& a, const CallerRules& b) {
  return wcscmp(a.AllowCategory, b.AllowCategory) == 0 && a.AllowVolume == b.AllowVolume &&
         a.RepeatCalls == b.RepeatCalls;
}

static INT_PTR CALLBACK CallersDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      FillCallerControls(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        CallerRules rules = ReadCallerControls(dialog);
        if (!SameRules(rules, EditedCallerRules)) {
          EditedCallerRules = rules;
          UnsavedChanges = true;
        }
        CallersAnswer = IDOK;
      } else if (LOWORD(wParam) == IDCANCEL) {
        CallersAnswer = IDCANCEL;
      }
      return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return PaintOnBackground((HDC)wParam);
  }
  return FALSE;
}

void EditCallerRules() {
  CallersAnswer = 0;
  HWND dialog = CreateDialogFromResources(IDD_CALLERS, SettingsWindow, CallersDialogProc);
  if (!dialog) return;
  SHINITDLGINFO shell = {};
  shell.dwMask = SHIDIM_FLAGS;
  shell.hDlg = dialog;
  shell.dwFlags = SHIDIF_DONEBUTTON;
  SHInitDialog(&shell);
  EnableWindow(SettingsWindow, FALSE);
  ShowWindow(dialog, SW_SHOW);
  SetForegroundWindow(dialog);

  // A quit message closes the dialog as a cancel and goes on to the program's own loop.
  MSG message;
  while (CallersAnswer == 0) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage((int)message.wParam);
      break;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  EnableWindow(SettingsWindow, TRUE);
  DestroyWindow(dialog);
  SetForegroundWindow(SettingsWindow);
}
