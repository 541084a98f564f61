// The tap handler of the bar: cancel or set a temporary switch, keep
// "TimeSwitch" in step and register the next wake-up.
#include "timer/choice_tap.h"

#include "schedule/switch_schedule.h"
#include "store/switch_records.h"
#include "store/temporary_switch.h"
#include "timer/timer_state.h"

// The end of a switch that starts at hour:minute and lasts `minutes`,
// wrapping past midnight; 00:00 becomes 00:01, since 0:00 means "no time".
static void TemporaryEndTime(DWORD hour, DWORD minute, int minutes, DWORD* endHour, DWORD* endMinute) {
  DWORD total = hour * 60 + minute + (DWORD)minutes;
  *endHour = (total / 60) % 24;
  *endMinute = total % 60;
  if (*endHour == 0 && *endMinute == 0) *endMinute = 1;
}

// Writes the switch whole: recorded first, so that a bar killed half way is
// finished by the Today item (the bar itself never finishes one: a second
// bar may be writing its own at the same time), then carried out, the next
// wake-up registered, and the record removed. Then the bar ends.
static void MakeTemporarySwitch(BOOL durationSet, DWORD endHour, DWORD endMinute) {
  TemporarySwitchRecord record = {};
  record.TargetMode = Timer.Command.TargetMode;
  record.BackMode = Timer.Command.BackMode;
  record.StopHour = endHour;
  record.StopMinutes = endMinute;
  record.DurationSet = durationSet;
  RecordTemporarySwitch(&record);
  CarryOutTemporarySwitch(&record);
  ScheduleNextSwitch();
  ClearTemporarySwitchRecord();
  PostQuitMessage(0);
}

// Seconds are dropped: the switch ends on the minute.
static void SetTemporarySwitch(int minutes) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  DWORD endHour;
  DWORD endMinute;
  TemporaryEndTime(now.wHour, now.wMinute, minutes, &endHour, &endMinute);
  MakeTemporarySwitch(TRUE, endHour, endMinute);
}

void HandleChoiceTap(int x) {
  int minutes = DurationAtTap(&Timer.Cells, x);
  if (minutes == 0) {
    MakeTemporarySwitch(FALSE, 0, 0);
  } else {
    SetTemporarySwitch(minutes);
  }
}
