// The Today screen's window procedure: a tick a second keeps the clock line,
// takes in temporary switches and makes each minute's switches; taps on the
// item open the settings program, or switch to a mode by hand and start the
// timer bar.
#include "today/today_screen.h"

#include <emulated_shell.h>

#include "phone/apply_stored_mode.h"
#include "schedule/switch_schedule.h"
#include "store/mode_keys.h"
#include "store/record_save.h"
#include "store/root_values.h"
#include "store/switch_records.h"
#include "store/temporary_switch.h"
#include "today/due_switches.h"
#include "today/held_root_key.h"
#include "today/minute_clock.h"
#include "today/mode_activation.h"
#include "today/resource.h"
#include "today/switch_notice.h"
#include "today/switch_weighing.h"
#include "today/today_pictures.h"
#include "today/today_state.h"
#include "today/week_view.h"

// The settings program's window, as its template names it.
static const WCHAR SettingsTitle[] = TEXT("Selvane Settings");

static const WCHAR* const DayNames[] = {TEXT("Sunday"),   TEXT("Monday"), TEXT("Tuesday"), TEXT("Wednesday"),
                                        TEXT("Thursday"), TEXT("Friday"), TEXT("Saturday")};
static const WCHAR* const MonthNames[] = {TEXT("January"), TEXT("February"), TEXT("March"),     TEXT("April"),   TEXT("May"),      TEXT("June"),
                                          TEXT("July"),    TEXT("August"),   TEXT("September"), TEXT("October"), TEXT("November"), TEXT("December")};

static int ScreenWidth() {
  RECT client;
  GetClientRect(Today.Screen, &client);
  return client.right - client.left;
}

// Sets a line only when it changes, so that the screen is drawn again only then.
static void SetLine(int id, LPCWSTR text) {
  WCHAR shown[TODAY_LINE_SIZE];
  GetDlgItemTextW(Today.Screen, id, shown, TODAY_LINE_SIZE);
  if (wcscmp(shown, text) != 0) SetDlgItemTextW(Today.Screen, id, text);
}

void LayOutToday() {
  int width = ScreenWidth();
  SetWindowPos(GetDlgItem(Today.Screen, IDC_TODAY_DATE), nullptr, 8, 4, width - 16, 18, SWP_NOZORDER);
  SetWindowPos(GetDlgItem(Today.Screen, IDC_TODAY_TIME), nullptr, 8, 22, width - 16, 18, SWP_NOZORDER);
  int textLeft = 8 + TODAY_PICTURE_SIZE + 8;
  SetWindowPos(GetDlgItem(Today.Screen, IDC_TODAY_MODE_NAME), nullptr, textLeft, TODAY_ITEM_TOP + 2,
               width - textLeft - 8, 16, SWP_NOZORDER);
  SetWindowPos(GetDlgItem(Today.Screen, IDC_TODAY_SWITCH_LINE), nullptr, textLeft, TODAY_ITEM_TOP + 18,
               width - textLeft - 8, 16, SWP_NOZORDER);
}

// The second line: the notice of an automatic switch while it stands; else,
// when a temporary switch is pending, when and to which mode it goes back;
// else the next switch due today, if any.
static void ShowSwitchLine(DWORD active, BOOL recompute) {
  PendingSwitch pending;
  FindPendingSwitch(&pending);
  if (pending.Pending == Today.ShowedPending && !pending.Pending && !recompute) return;
  Today.ShowedPending = pending.Pending;
  WCHAR name[TODAY_NAME_SIZE];
  WCHAR line[TODAY_LINE_SIZE];
  BOOL shown = TRUE;
  LPCWSTR notice = CurrentSwitchNotice();
  if (notice) {
    wcsncpy(line, notice, TODAY_LINE_SIZE);
    line[TODAY_LINE_SIZE - 1] = 0;
  } else if (pending.Pending) {
    ReadModeName(pending.ModeBack, name);
    wsprintfW(line, TEXT("back to %s at %02d:%02d"), name, (int)pending.StopHour, (int)pending.StopMinutes);
  } else {
    SYSTEMTIME now;
    GetLocalTime(&now);
    SwitchValues values;
    ReadSwitchValues(&values);
    DWORD mode, hour, minute;
    shown = FindNextSwitchToday(&values, &now, active, &mode, &hour, &minute);
    if (shown) {
      ReadModeName(mode, name);
      wsprintfW(line, TEXT("%s at %02d:%02d"), name, (int)hour, (int)minute);
    }
  }
  if (shown) SetLine(IDC_TODAY_SWITCH_LINE, line);
  ShowWindow(GetDlgItem(Today.Screen, IDC_TODAY_SWITCH_LINE), shown ? SW_SHOW : SW_HIDE);
}

void ShowTodayTexts() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  WCHAR line[TODAY_LINE_SIZE];
  wsprintfW(line, TEXT("%s, %s %d, %d"), DayNames[now.wDayOfWeek % 7], MonthNames[(now.wMonth + 11) % 12], now.wDay,
            now.wYear);
  SetLine(IDC_TODAY_DATE, line);
  wsprintfW(line, TEXT("%02d:%02d"), now.wHour, now.wMinute);
  SetLine(IDC_TODAY_TIME, line);
  DWORD minute = MinuteIndex(&now);
  CurrentSwitchNotice();  // a notice whose minute is over goes now
  BOOL recompute = minute != Today.ShownMinute || Today.NextSwitchStale;
  Today.ShownMinute = minute;
  Today.NextSwitchStale = FALSE;

  DWORD active = ReadActiveMode();
  if (active != Today.ActiveMode) {
    Today.ActiveMode = active;
    recompute = TRUE;
    RECT item = {0, TODAY_ITEM_TOP, ScreenWidth(), TODAY_ITEM_BOTTOM};
    InvalidateRect(Today.Screen, &item, TRUE);
  }
  WCHAR name[TODAY_NAME_SIZE];
  ReadModeName(active, name);
  if (!name[0]) wcsncpy(name, TEXT("No active mode"), TODAY_NAME_SIZE);
  SetLine(IDC_TODAY_MODE_NAME, name);
  ShowSwitchLine(active, recompute);
}

// The active mode's picture and name in the row stand on a light field
// framed in the rule's colour, within the row (the timer bar lies just below
// it) and as wide as the name's cell allows.
static void DrawActiveMark(HDC dc, int pictureX, int cellLeft, int cellWidth) {
  int left = pictureX - TODAY_MARK_MARGIN, right = pictureX + TODAY_PICTURE_SIZE + TODAY_MARK_MARGIN;
  if (cellWidth > right - left) left = cellLeft, right = cellLeft + cellWidth;
  RECT frame = {left, TODAY_ROW_TOP, right, TODAY_ITEM_BOTTOM - 1};
  FillRect(dc, &frame, Today.Rule);
  RECT field = {frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1};
  FillRect(dc, &field, Today.Mark);
}

// A mode's name under its picture in the row, cut with "..." to its cell.
static void DrawRowName(HDC dc, DWORD mode, int cellLeft, int cellWidth) {
  WCHAR name[TODAY_NAME_SIZE];
  ReadModeName(mode, name);
  RECT place = {cellLeft + 1, TODAY_ROW_NAME_TOP, cellLeft + cellWidth - 1, TODAY_ITEM_BOTTOM - 1};
  DrawTextW(dc, name, -1, &place, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

static void PaintToday() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(Today.Screen, &paint);
  int width = ScreenWidth();
  RECT rule = {0, TODAY_HEADER_HEIGHT, width, TODAY_HEADER_HEIGHT + 1};
  FillRect(dc, &rule, Today.Rule);
  RECT below = {0, TODAY_ITEM_BOTTOM + 1, width, TODAY_ITEM_BOTTOM + 2};
  FillRect(dc, &below, Today.Rule);
  DrawModePicture(dc, Today.ActiveMode, 8, TODAY_ITEM_TOP + 4);
  int cell = width / LAST_MODE;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    int cellLeft = (int)(mode - 1) * cell;
    int x = cellLeft + (cell - TODAY_PICTURE_SIZE) / 2;
    if (mode == Today.ActiveMode) DrawActiveMark(dc, x, cellLeft, cell);
    DrawModePicture(dc, mode, x, TODAY_ROW_PICTURE_TOP);
    DrawRowName(dc, mode, cellLeft, cell);
  }
  EndPaint(Today.Screen, &paint);
}

static void StartFromInstallFolder(LPCWSTR name, LPWSTR commandLine, HANDLE* process) {
  WCHAR path[TODAY_FOLDER_SIZE + 32];
  wsprintfW(path, TEXT("%s\\%s"), Today.InstallFolder, name);
  PROCESS_INFORMATION started = {};
  if (!CreateProcessW(path, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &started)) return;
  CloseHandle(started.hThread);
  if (process) {
    if (*process) CloseHandle(*process);
    *process = started.hProcess;
  } else {
    CloseHandle(started.hProcess);
  }
}

// A settings program started from the item that still runs is brought to
// the foreground instead of starting another.
static void OpenSettings() {
  if (Today.SettingsProcess && WaitForSingleObject(Today.SettingsProcess, 0) == WAIT_TIMEOUT) {
    HWND settings = FindWindowW(nullptr, SettingsTitle);
    if (settings) SetForegroundWindow(settings);
    return;
  }
  WCHAR none[1] = {0};
  StartFromInstallFolder(TEXT("SelvaneSettings.exe"), none, &Today.SettingsProcess);
}

// The bar goes just below the item.
static void OpenTimerBar(DWORD back, DWORD target) {
  RECT place;
  GetWindowRect(Today.Screen, &place);
  WCHAR commandLine[64];
  wsprintfW(commandLine, TEXT("%d:%d %02d:%d"), (int)back, (int)target, TODAY_BAR_HEIGHT,
            (int)place.top + TODAY_ITEM_BOTTOM);
  StartFromInstallFolder(TEXT("SelvaneTimer.exe"), commandLine, &Today.TimerProcess);
}

// A tap on a mode's picture: a pending temporary switch ends, the mode
// becomes active at once, and the timer bar may turn the switch into a
// temporary one that goes back to the mode active before the tap. A tap on
// the active mode's picture while a temporary switch is pending keeps that
// mode for good: the switch ends as a switch by hand, its wake-up withdrawn.
static void SwitchByHand(DWORD tapped) {
  DWORD previous = ReadActiveMode();
  PendingSwitch pending;
  FindPendingSwitch(&pending);
  if (pending.Pending) CancelTemporarySwitch();
  if (tapped != previous) {
    MakeModeActive(tapped, SWITCH_BY_HAND, nullptr);
  } else if (pending.Pending) {
    WithdrawNextSwitch();
    KeepModeActive(tapped, SWITCH_BY_HAND);
  }
  ShowTodayTexts();
  if (previous >= FIRST_MODE && previous <= LAST_MODE && previous != tapped) OpenTimerBar(previous, tapped);
}

static void TapToday(int x, int y) {
  if (CurrentSwitchNotice()) {
    DismissSwitchNotice();
    ShowTodayTexts();
  }
  if (y >= TODAY_ITEM_TOP && y < TODAY_ROW_TOP) {
    OpenSettings();
  } else if (y >= TODAY_ROW_TOP && y < TODAY_ITEM_BOTTOM) {
    int cell = ScreenWidth() / LAST_MODE;
    int column = cell > 0 ? x / cell : 0;
    if (column >= 0 && column < LAST_MODE) SwitchByHand((DWORD)column + FIRST_MODE);
  }
}

// TRUE once the program `process` has ended; its handle is then closed.
static BOOL ProgramEnded(HANDLE* process) {
  if (!*process || WaitForSingleObject(*process, 0) != WAIT_OBJECT_0) return FALSE;
  CloseHandle(*process);
  *process = nullptr;
  return TRUE;
}

// The settings program has ended: a save or an apply it left half done
// (killed) is finished, and its changes may touch the calendar rule.
static void CheckSettingsEnded(const SYSTEMTIME* now) {
  if (!ProgramEnded(&Today.SettingsProcess)) return;
  FinishInterruptedSave();
  if (FinishInterruptedApply()) ScheduleNextSwitch();
  ClearModeApplyRecord();
  Today.NextSwitchStale = TRUE;
  TakeInCalendar(now);
}

// The timer bar has ended: a temporary switch it left half written (killed)
// is finished at once, before it could be weighed half written.
static void CheckTimerEnded() {
  if (ProgramEnded(&Today.TimerProcess)) ResumeTemporarySwitch();
}

// Whether what the screen shows may differ from the store and the clock:
// a new minute (the clock line, the next switch), a notice come or gone, a
// temporary switch set, taken in or ended ("TimeSwitch" moved), another
// active mode, or a program of the item's (the settings program, the timer
// bar) running or just ended, as they write names and switch times too.
// Each tick reads only "TimeSwitch" and the active mode, so that an idle
// phone does not read the whole store every second.
static BOOL ScreenMayBeStale(const SYSTEMTIME* now, DWORD timeSwitch, BOOL programsRan) {
  CurrentSwitchNotice();  // a notice whose time is over goes now
  BOOL stale = programsRan || Today.NextSwitchStale || MinuteIndex(now) != Today.ShownMinute ||
               timeSwitch != Today.SeenTimeSwitch;
  Today.SeenTimeSwitch = timeSwitch;
  return stale || ReadHeldActiveMode() != Today.ActiveMode;
}

static void Tick() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  BOOL programsRan = Today.SettingsProcess != nullptr || Today.TimerProcess != nullptr;
  CheckTimerEnded();
  DWORD timeSwitch = TakeInTemporarySwitch();
  // The wake-up comes into the minute at its fifth second; the minute's
  // switches wait for it, so that a woken phone and one that stayed on
  // switch alike.
  if (now.wSecond >= WAKE_UP_SECOND) SwitchDueModes(&now, FALSE);
  CheckSettingsEnded(&now);
  if (ScreenMayBeStale(&now, timeSwitch, programsRan)) ShowTodayTexts();
}

INT_PTR CALLBACK TodayProc(HWND screen, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      SetBkColor((HDC)wParam, TODAY_BACKGROUND);
      SetTextColor((HDC)wParam, RGB(0, 0, 0));
      return (INT_PTR)Today.Background;
    case WM_PAINT:
      PaintToday();
      return TRUE;
    case WM_TIMER:
      if (wParam == TODAY_TICK_TIMER) Tick();
      return TRUE;
    case WM_SHELL_TIMED_START: {
      SYSTEMTIME now;
      GetLocalTime(&now);
      SwitchDueModes(&now, TRUE);
      ShowTodayTexts();
      return TRUE;
    }
    case WM_LBUTTONDOWN:
      TapToday((short)LOWORD(lParam), (short)HIWORD(lParam));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_TODAY_MODE_NAME && HIWORD(wParam) == STN_CLICKED) OpenSettings();
      if (LOWORD(wParam) == IDC_TODAY_DATE && HIWORD(wParam) == STN_CLICKED) ShowWeekView();
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(screen);
      PostQuitMessage(0);
      return TRUE;
  }
  return FALSE;
}
