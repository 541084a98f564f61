// The timer program's entry: it shows the bar of choices for a few seconds
// below the Today screen's line and ends with exit code 0.

#include <windows.h>

#include "store/install_folder.h"
#include "store/mode_keys.h"
#include "store/temporary_switch.h"
#include "timer/choice_bitmap.h"
#include "timer/resource.h"
#include "timer/timer_bar.h"
#include "timer/timer_state.h"

// Room for the longest line: the longest pattern, a full mode name and two
// numbers of eleven characters each.
#define PENDING_TEXT_SIZE 128

// "Switching to NAME at HH:MM", the hour and minute with a leading zero below 10.
static void FormatPendingText(LPCWSTR name, DWORD hour, DWORD minute, WCHAR text[PENDING_TEXT_SIZE]) {
  LPCWSTR pattern;
  if (hour < 10) {
    pattern = minute < 10 ? TEXT("Switching to %s at 0%d:0%d") : TEXT("Switching to %s at 0%d:%d");
  } else {
    pattern = minute < 10 ? TEXT("Switching to %s at %d:0%d") : TEXT("Switching to %s at %d:%d");
  }
  wsprintfW(text, pattern, name, (int)hour, (int)minute);
}

// Creates the bar from its template as a modeless dialog with no owner.
static HWND CreateBar(HINSTANCE instance) {
  HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(IDD_TIMER_BAR), RT_DIALOG);
  if (resource == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(instance, resource);
  if (loaded == nullptr) return nullptr;
  LPCDLGTEMPLATEW bar = (LPCDLGTEMPLATEW)LockResource(loaded);
  if (bar == nullptr) return nullptr;
  return CreateDialogIndirectParamW(instance, bar, nullptr, BarProc, 0);
}

// Notes the size of the 0 picture, which centres all seven.
static void MeasureCancelPicture() {
  HBITMAP picture = LoadChoicePicture(Timer.PicturePaths[CHOICE_CANCEL]);
  if (picture == nullptr) return;
  BITMAP info;
  if (GetObjectW(picture, sizeof(info), &info) != 0) {
    Timer.PictureWidth = info.bmWidth;
    Timer.PictureHeight = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  }
  DeleteObject(picture);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
  Timer.Instance = instance;
  Timer.Bar = CreateBar(instance);
  if (Timer.Bar == nullptr) return 0;
  Timer.SwitchText = GetDlgItem(Timer.Bar, IDC_SWITCH_TEXT);

  int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  ChooseChoiceCells(screenWidth, &Timer.Cells);
  ParseTimerCommand(commandLine, &Timer.Command);
  LocateFittingInstallFolder(Timer.InstallFolder, INSTALL_FOLDER_SIZE);

  PendingSwitch pending;
  FindPendingSwitch(&pending);
  Timer.SwitchPending = pending.Pending;
  if (Timer.SwitchPending) {
    WCHAR name[MODE_NAME_WIDTH];
    ReadModeName(pending.ModeBack, name);
    WCHAR text[PENDING_TEXT_SIZE];
    FormatPendingText(name, pending.StopHour, pending.StopMinutes, text);
    SetWindowTextW(Timer.SwitchText, text);
  } else {
    ShowWindow(Timer.SwitchText, SW_HIDE);
    for (int i = 0; i < CHOICE_CANCEL; ++i) ChoicePicturePath(i, Timer.PicturePaths[i]);
  }
  ChoicePicturePath(CHOICE_CANCEL, Timer.PicturePaths[CHOICE_CANCEL]);
  MeasureCancelPicture();

  Timer.Background = CreateSolidBrush(BAR_COLOUR);
  // The border is one pixel on each side, around the height asked for.
  SetWindowPos(Timer.Bar, HWND_BOTTOM, 0, Timer.Command.BarTop - 1, screenWidth, Timer.Command.BarHeight + 2,
               SWP_SHOWWINDOW);
  if (Timer.SwitchPending) {
    ShowWindow(Timer.SwitchText, SW_SHOW);
    SetWindowPos(Timer.SwitchText, nullptr, 10, Timer.Command.BarHeight / 2 - 8, 175, Timer.Command.BarHeight, 0);
  }
  ShowWindow(Timer.Bar, SW_SHOW);
  SetForegroundWindow(Timer.Bar);
  UpdateWindow(Timer.Bar);
  SetTimer(Timer.Bar, BAR_TIMER_ID, BAR_TIMER_PERIOD, nullptr);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  DeleteObject(Timer.Background);
  return 0;
}
