// The tap handler of the bar: cancel or set a temporary switch, keep
// "TimeSwitch" in step and register the next wake-up.
#include "timer/choice_tap.h"

#include "schedule/switch_schedule.h"
#include "store/temporary_switch.h"
#include "store/time_switch.h"
#include "timer/timer_state.h"

// The end of a switch that starts at hour:minute and lasts `minutes`,
// wrapping past midnight; 00:00 becomes 00:01, since 0:00 means "no time".
static void TemporaryEndTime(DWORD hour, DWORD minute, int minutes, DWORD* endHour, DWORD* endMinute) {
  DWORD total = hour * 60 + minute + (DWORD)minutes;
  *endHour = (total / 60) % 24;
  *endMinute = total % 60;
  if (*endHour == 0 && *endMinute == 0) *endMinute = 1;
}

static void CancelTemporarySwitch() {
  WriteTemporarySwitch(Timer.Command.TargetMode, Timer.Command.BackMode, 0, 0);
  UpdateTimeSwitch(FALSE);
  ClearTemporaryStops();
  ScheduleNextSwitch();
  PostQuitMessage(0);
}

// Seconds are dropped: the switch ends on the minute.
static void SetTemporarySwitch(int minutes) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  DWORD endHour;
  DWORD endMinute;
  TemporaryEndTime(now.wHour, now.wMinute, minutes, &endHour, &endMinute);
  WriteTemporarySwitch(Timer.Command.TargetMode, Timer.Command.BackMode, endHour, endMinute);
  ScheduleNextSwitch();
  UpdateTimeSwitch(TRUE);
  PostQuitMessage(0);
}

void HandleChoiceTap(int x) {
  int minutes = DurationAtTap(&Timer.Cells, x);
  if (minutes == 0) {
    CancelTemporarySwitch();
  } else {
    SetTemporarySwitch(minutes);
  }
}
