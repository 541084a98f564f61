#include "today/due_minutes.h"

#include "today/minute_clock.h"

// A last switch later than now is from before the clock was set back, and
// is passed.
DWORD FirstMinuteToWeigh(DWORD checkedThrough, BOOL switched, DWORD lastSwitch, DWORD nowMinute, DWORD due) {
  DWORD from = checkedThrough;
  switched = switched && lastSwitch <= nowMinute;
  if (from == 0) from = switched ? lastSwitch : nowMinute - 1;
  if (switched && lastSwitch > from) from = lastSwitch;
  if (due > from + MINUTES_A_DAY) from = due - MINUTES_A_DAY;
  return from + 1;
}

int ListDueMinutes(const SwitchValues* values, DWORD first, DWORD due, DWORD minutes[SWITCH_TIMES_CAPACITY]) {
  DWORD times[SWITCH_TIMES_CAPACITY];
  int count = ListSwitchTimes(values, times);
  SYSTEMTIME dueTime;
  MinuteTime(due, &dueTime);
  DWORD dueOfDay = (DWORD)dueTime.wHour * 60 + dueTime.wMinute;
  int listed = 0;
  // Times of day after the due one fell due the day before: the list runs
  // from the first of those on.
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < count; ++i) {
      BOOL yesterday = times[i] > dueOfDay;
      if (yesterday != (pass == 0)) continue;
      DWORD minute = due - (dueOfDay + (yesterday ? MINUTES_A_DAY : 0) - times[i]);
      if (minute >= first && minute <= due) minutes[listed++] = minute;
    }
  }
  return listed;
}

void WeighDueMinutes(SwitchValues* values, const DWORD* minutes, int count, DWORD nowMinute, DWORD activeMode,
                     DueMinutesOutcome* outcome) {
  outcome->Mode = activeMode;
  outcome->Reason = SWITCH_DAILY_START;
  outcome->DecidedAt = nowMinute;
  outcome->TemporaryEnded = FALSE;
  outcome->CalendarEnded = FALSE;
  for (int i = 0; i < count; ++i) {
    SYSTEMTIME at;
    MinuteTime(minutes[i], &at);
    WeighedMinute weighed;
    WeighMinute(values, &at, outcome->Mode, minutes[i] == nowMinute, &weighed);
    if (weighed.TemporaryEnded) {
      values->Temporary.Pending = FALSE;
      outcome->TemporaryEnded = TRUE;
    }
    outcome->CalendarEnded |= weighed.CalendarEnded;
    if (weighed.Mode >= FIRST_MODE && weighed.Mode <= LAST_MODE && weighed.Mode != outcome->Mode) {
      outcome->Mode = weighed.Mode;
      outcome->Reason = weighed.Reason;
      outcome->DecidedAt = minutes[i];
    }
  }
}
