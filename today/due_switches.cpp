// Each minute the item weighs the stored switch times against the clock;
// the store is read afresh every time, as the other programs change it.
#include "today/due_switches.h"

#include "schedule/switch_schedule.h"
#include "store/mode_store.h"
#include "timer/pending_switch.h"
#include "timer/timer_registry.h"
#include "today/calendar_rule.h"
#include "today/mode_activation.h"
#include "today/mode_values.h"
#include "today/today_state.h"

static DWORD ReadTimeSwitch() { return ReadRootDword(TIME_SWITCH_VALUE); }

static void WriteTimeSwitch(DWORD state) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &key) != ERROR_SUCCESS) return;
  WriteDwordValue(key, TIME_SWITCH_VALUE, state);
  RegCloseKey(key);
}

// The end of a pending temporary switch at `now`: clears it and returns
// the mode to go back to, else 0.
static DWORD EndTemporarySwitch(const SYSTEMTIME* now) {
  PendingSwitch pending;
  FindPendingSwitch(&pending);
  if (!pending.Pending || !IsTimeOfDay(pending.StopHour, pending.StopMinutes, now)) return 0;
  WriteModeDword(pending.Mode, STOP_HOUR_TEMP_VALUE, 0);
  WriteModeDword(pending.Mode, STOP_MINUTES_TEMP_VALUE, 0);
  WriteTimeSwitch(ReadTimeSwitch() & ~(DWORD)(TIME_SWITCH_PENDING | TIME_SWITCH_TAKEN_IN));
  return pending.ModeBack;
}

DWORD FindDueSwitch(const SYSTEMTIME* now, DWORD activeMode, BOOL* readCalendar) {
  ModeSwitchValues modes[LAST_MODE + 1];
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) ReadModeSwitchValues(mode, &modes[mode]);

  DWORD next = activeMode;
  if (activeMode >= FIRST_MODE && activeMode <= LAST_MODE) {
    const ModeSwitchValues* active = &modes[activeMode];
    if (IsTimeOfDay(active->StopHour, active->StopMinutes, now)) next = active->ModeBack;
  }
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    if (IsTimeOfDay(modes[mode].StartHour, modes[mode].StartMinutes, now) && DayTicked(modes[mode].Days, now->wDayOfWeek))
      next = mode;
  }
  BOOL calendarDue = FALSE;
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    const ModeSwitchValues* rule = &modes[mode];
    if (rule->OutlookSwitch != 1) continue;
    BOOL ended = IsTimeOfDay(rule->StopHourOutlook, rule->StopMinutesOutlook, now);
    // An appointment that ended makes room for the next one of the day.
    if (ended || rule->OutlookAutoRefresh == 1) calendarDue = TRUE;
    if (ended && next == rule->ModeBusy) next = mode;
    if (IsTimeOfDay(rule->StartHourOutlook, rule->StartMinutesOutlook, now) && next == mode) next = rule->ModeBusy;
  }
  if (readCalendar) *readCalendar = calendarDue;
  DWORD back = EndTemporarySwitch(now);
  if (back) next = back;
  return next;
}

void SwitchDueModes(const SYSTEMTIME* now, BOOL woken) {
  DWORD stamp = MinuteStamp(now);
  if (stamp == Today.CheckedMinute) {
    if (woken) ScheduleNextSwitch();
    return;
  }
  Today.CheckedMinute = stamp;
  DWORD active = ReadActiveMode();
  BOOL readCalendar = FALSE;
  DWORD next = FindDueSwitch(now, active, &readCalendar);
  if (next >= FIRST_MODE && next <= LAST_MODE && next != active) {
    MakeModeActive(next);
  } else if (woken) {
    ScheduleNextSwitch();
  }
  // The next appointment found may begin at once.
  if (readCalendar) {
    DWORD busy = RefreshCalendarTimes(now, ReadActiveMode());
    if (busy && busy != ReadActiveMode()) MakeModeActive(busy);
  }
}

void TakeInTemporarySwitch() {
  DWORD state = ReadTimeSwitch();
  BOOL pendingFlag = (state & TIME_SWITCH_PENDING) != 0;
  BOOL takenIn = (state & TIME_SWITCH_TAKEN_IN) != 0;
  if (pendingFlag && !takenIn) {
    PendingSwitch pending;
    FindPendingSwitch(&pending);
    if (!pending.Pending) return;
    WriteTimeSwitch(state | TIME_SWITCH_TAKEN_IN);
    if (pending.Mode != ReadActiveMode()) MakeModeActive(pending.Mode);
  } else if (!pendingFlag && takenIn) {
    WriteTimeSwitch(state & ~(DWORD)TIME_SWITCH_TAKEN_IN);
  }
}
