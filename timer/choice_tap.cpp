// The tap handler of the bar: cancel or set a temporary switch, keep
// "TimeSwitch" in step and register the next wake-up.
#include "timer/choice_tap.h"

#include "schedule/switch_schedule.h"
#include "timer/temporary_switch.h"
#include "timer/time_switch.h"
#include "timer/timer_state.h"

static void CancelTemporarySwitch() {
  WriteTemporarySwitch(0, 0);
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
  WriteTemporarySwitch(endHour, endMinute);
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
