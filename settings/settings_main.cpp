// The settings program: one full-screen dialog that edits the five modes,
// opened on the active mode; its start-up, its dialog procedure and its message loop.
#include <windows.h>
#include <aygshell.h>

#include "phone/apply_stored_mode.h"
#include "phone/first_run.h"
#include "schedule/switch_schedule.h"
#include "settings/dialog_pages.h"
#include "settings/mode_binding.h"
#include "settings/mode_picture.h"
#include "settings/resource.h"
#include "settings/settings_commands.h"
#include "settings/settings_dialog.h"
#include "store/install_folder.h"
#include "store/mode_store.h"
#include "store/record_save.h"
#include "store/root_values.h"
#include "store/switch_records.h"

// Screens wider than this get the landscape layout.
#define PORTRAIT_MAX_WIDTH 240

static void PaintSettings(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (dc) DrawModeBitmap(SettingsInstance, dc, ModeBitmapPath, 5, 5);
  EndPaint(window, &paint);
}

static INT_PTR CALLBACK SettingsDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      HandleSettingsCommand((HWND)lParam, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_PAINT:
      PaintSettings(window);
      return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return PaintOnBackground((HDC)wParam);
  }
  return FALSE;
}

// The state every control starts in: page 1 shown, no time rows.
static void SetInitialControlStates() {
  EnableControl(IDC_SPARE_ARROW, false);
  ShowControl(IDC_SPARE_ARROW, false);
  ShowControl(IDC_NO_SAVE, false);
  ShowControl(IDC_QUESTION, false);
  for (int page = FIRST_PAGE; page <= LAST_PAGE; ++page)
    for (int i = 0; i < PageControlCount[page]; ++i) ShowControl(PageControls[page][i], page == FIRST_PAGE);
  SetChecked(IDC_START_ON, false);
  SetChecked(IDC_STOP_ON, false);
  static const int Disabled[] = {IDC_START_HOUR, IDC_START_MINUTES, IDC_STOP_HOUR,
                                 IDC_STOP_MINUTES, IDC_MODE_BACK,    IDC_PICK_UP_RINGS};
  for (int id : Disabled) EnableControl(id, false);
  UnsavedChanges = false;
}

// What a killed settings program left half done: a save past its commit
// point is finished (before any mode is shown), and an apply of the active
// mode on "ok" is made again. Both redo fixed writes, so they are safe to
// redo even when another settings program is still at it. The Today item's
// and the timer bar's switches are theirs to finish, never this program's:
// the item may be running and in the middle of one.
static void FinishInterruptedWork() {
  FinishInterruptedSave();
  if (FinishInterruptedApply()) ScheduleNextSwitch();
  ClearModeApplyRecord();
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  SettingsInstance = instance;

  // A fresh store gets the factory modes, and the dialog opens on the mode
  // the first run makes active unless the store names one.
  DWORD firstRunMode = PrepareStoreOnFirstRun();
  if (firstRunMode != 0) ActiveMode = (int)firstRunMode;
  FinishInterruptedWork();

  int templateId = GetSystemMetrics(SM_CXSCREEN) > PORTRAIT_MAX_WIDTH ? IDD_SETTINGS_LANDSCAPE : IDD_SETTINGS_PORTRAIT;
  BackgroundBrush = CreateSolidBrush(SETTINGS_BACKGROUND);
  SettingsWindow = CreateDialogFromResources(templateId, nullptr, SettingsDialogProc);
  if (!SettingsWindow) {
    DeleteObject(BackgroundBrush);
    return 0;
  }

  SHINITDLGINFO shell = {};
  shell.dwMask = SHIDIM_FLAGS;
  shell.hDlg = SettingsWindow;
  shell.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLG;
  SHInitDialog(&shell);
  ShowWindow(SettingsWindow, SW_SHOW);
  SetForegroundWindow(SettingsWindow);

  FetchControlHandles(SettingsWindow);
  SetInitialControlStates();
  FillDialogLists();

  // A "DefaultMode" that names none of the five modes counts as none.
  DWORD activeMode = ReadActiveMode();
  if (activeMode != 0) ActiveMode = (int)activeMode;
  LocateInstallFolder(InstallFolder, MAX_PATH);

  WCHAR keyName[MODE_KEY_NAME_SIZE];
  ModeKeyName((DWORD)ActiveMode, keyName);
  LoadModeIntoControls(keyName);
  EditedMode = ActiveMode;
  SetModeBitmapPath(ActiveMode);
  ShowNotificationEntry();
  CurrentPage = FIRST_PAGE;
  RepaintSettings();

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  DeleteObject(BackgroundBrush);
  return 0;
}
