// The phone's Today screen with the mode item in it, as the phone shows it
// once switched on: it shows the active mode, makes the due mode active at
// its time and, as the phone's shell, starts the programs registered for a
// timed start. It ends when the phone is switched off.

#include <windows.h>
#include <aygshell.h>
#include <emulated_shell.h>

#include "phone/apply_stored_mode.h"
#include "phone/first_run.h"
#include "schedule/switch_schedule.h"
#include "store/factory_modes.h"
#include "store/install_folder.h"
#include "store/mode_store.h"
#include "store/record_save.h"
#include "store/root_values.h"
#include "store/switch_records.h"
#include "today/call_watcher.h"
#include "today/due_switches.h"
#include "today/held_root_key.h"
#include "today/mode_activation.h"
#include "today/resource.h"
#include "today/today_screen.h"
#include "today/today_state.h"

// What the item does when the phone comes on: a store never prepared gets
// the factory modes as the settings program's first run makes them; what a
// killed program left half done is finished (a mode record being saved, the
// timer bar's temporary switch, the item's own switch, the settings
// program's apply of the active mode, in that order, so that the last word
// on the phone's settings is the active mode's); a store that names no
// active mode gets the first run's; the switches missed while the phone was
// off are made, the calendar read, an appointment going on now and a
// temporary switch just written taken in, and the next wake-up registered.
static void StartItem() {
  PrepareStoreOnFirstRun();
  FinishInterruptedSave();
  ResumeTemporarySwitch();
  ResumeModeSwitch();
  FinishInterruptedApply();
  ClearModeApplyRecord();
  if (!ReadActiveMode()) {
    BOOL stored = RootValueStored(DEFAULT_MODE_VALUE);
    MakeModeActive(FIRST_RUN_ACTIVE_MODE, stored ? SWITCH_NO_VALID_MODE : SWITCH_FIRST_RUN, nullptr);
  }
  SYSTEMTIME now;
  GetLocalTime(&now);
  SwitchDueModes(&now, FALSE);
  TakeInCalendar(&now);
  TakeInTemporarySwitch();
  ScheduleNextSwitch();
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  Today.Instance = instance;
  LocateFittingInstallFolder(Today.InstallFolder, TODAY_FOLDER_SIZE);
  Today.Background = CreateSolidBrush(TODAY_BACKGROUND);
  Today.Rule = CreateSolidBrush(TODAY_RULE_COLOUR);
  Today.Mark = CreateSolidBrush(TODAY_MARK_COLOUR);
  Today.Screen = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_TODAY), nullptr, TodayProc, 0);
  if (Today.Screen == nullptr) return 0;

  SHINITDLGINFO shell = {};
  shell.dwMask = SHIDIM_FLAGS;
  shell.hDlg = Today.Screen;
  shell.dwFlags = SHIDIF_SIZEDLG;
  SHInitDialog(&shell);
  LayOutToday();
  Today.ActiveMode = (DWORD)-1;
  // The shell catches up on the starts missed while the phone was off
  // before the item registers the next wake-up, which would replace them.
  ShellStartTimedPrograms(Today.Screen);
  StartItem();
  ShowTodayTexts();
  ShowWindow(Today.Screen, SW_SHOW);
  SetForegroundWindow(Today.Screen);

  SetTimer(Today.Screen, TODAY_TICK_TIMER, TODAY_TICK_MS, nullptr);
  StartCallWatcher(instance);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  StopCallWatcher();
  CloseHeldRootKey();
  if (Today.SettingsProcess) CloseHandle(Today.SettingsProcess);
  if (Today.TimerProcess) CloseHandle(Today.TimerProcess);
  DeleteObject(Today.Background);
  DeleteObject(Today.Rule);
  DeleteObject(Today.Mark);
  return 0;
}
