// Each minute the item weighs the stored switch times against the clock;
// the store is read afresh every time, as the other programs change it.
#include "today/due_switches.h"

#include "schedule/switch_schedule.h"
#include "store/root_values.h"
#include "store/switch_records.h"
#include "store/temporary_switch.h"
#include "store/time_switch.h"
#include "today/calendar_rule.h"
#include "today/last_switch.h"
#include "today/minute_clock.h"
#include "today/mode_activation.h"
#include "today/switch_weighing.h"
#include "today/today_state.h"

static DWORD ReadTimeSwitch() {
  DWORD state = 0;
  ReadRootDword(TIME_SWITCH_VALUE, &state);
  return state;
}

static void WriteTimeSwitch(DWORD state) { WriteRootDword(TIME_SWITCH_VALUE, state); }

// A temporary switch over at its time: no end time left, and neither mark.
static void ClearEndedTemporarySwitch() {
  ClearTemporaryStops();
  WriteTimeSwitch(ReadTimeSwitch() & ~(DWORD)(TIME_SWITCH_PENDING | TIME_SWITCH_TAKEN_IN));
}

void CancelTemporarySwitch() {
  ClearTemporaryStops();
  UpdateTimeSwitch(FALSE);
  WriteTimeSwitch(ReadTimeSwitch() & ~(DWORD)TIME_SWITCH_TAKEN_IN);
}

// The first minute not yet looked at: after the minutes looked at since the
// phone came on and after the item's last switch, at most a day back. A last
// switch later than now is from before the clock was set back, and is passed.
static DWORD FirstMinuteToWeigh(DWORD nowMinute, DWORD due) {
  DWORD from = Today.CheckedThrough;
  DWORD lastSwitch;
  BOOL switched = ReadLastSwitch(&lastSwitch) && lastSwitch <= nowMinute;
  if (from == 0) from = switched ? lastSwitch : nowMinute - 1;
  if (switched && lastSwitch > from) from = lastSwitch;
  if (due > from + MINUTES_A_DAY) from = due - MINUTES_A_DAY;
  return from + 1;
}

// The minutes in first..due at which a switch of `values` falls due, in
// order; returns how many.
static int ListDueMinutes(const SwitchValues* values, DWORD first, DWORD due, DWORD minutes[SWITCH_TIMES_CAPACITY]) {
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

void SwitchDueModes(const SYSTEMTIME* now, BOOL woken) {
  DWORD nowMinute = MinuteIndex(now);
  // The minute of `now` is due once the wake-up has come into it.
  DWORD due = now->wSecond >= WAKE_UP_SECOND ? nowMinute : nowMinute - 1;
  // The clock was set back: the minutes go on from now.
  if (due < Today.CheckedThrough) Today.CheckedThrough = due - 1;
  if (due <= Today.CheckedThrough) {
    if (woken) ScheduleNextSwitch();
    return;
  }
  DWORD first = FirstMinuteToWeigh(nowMinute, due);
  Today.CheckedThrough = due;

  SwitchValues values;
  ReadSwitchValues(&values);
  DWORD minutes[SWITCH_TIMES_CAPACITY];
  int count = first <= due ? ListDueMinutes(&values, first, due, minutes) : 0;
  DWORD active = ReadActiveMode();
  DWORD mode = active;
  SwitchReason reason = SWITCH_DAILY_START;
  DWORD decidedAt = nowMinute;
  BOOL temporaryEnded = FALSE;
  BOOL calendarEnded = FALSE;
  for (int i = 0; i < count; ++i) {
    SYSTEMTIME at;
    MinuteTime(minutes[i], &at);
    WeighedMinute weighed;
    WeighMinute(&values, &at, mode, minutes[i] == nowMinute, &weighed);
    if (weighed.TemporaryEnded) {
      values.Temporary.Pending = FALSE;
      temporaryEnded = TRUE;
    }
    calendarEnded |= weighed.CalendarEnded;
    if (weighed.Mode >= FIRST_MODE && weighed.Mode <= LAST_MODE && weighed.Mode != mode) {
      mode = weighed.Mode;
      reason = weighed.Reason;
      decidedAt = minutes[i];
    }
  }
  if (temporaryEnded) ClearEndedTemporarySwitch();
  if (mode != active) {
    SYSTEMTIME missed;
    MinuteTime(decidedAt, &missed);
    MakeModeActive(mode, reason, decidedAt == nowMinute ? nullptr : &missed);
  } else if (woken || temporaryEnded) {
    ScheduleNextSwitch();
  }
  // The next appointment found may begin at once.
  if (calendarEnded || CalendarRefreshedEachMinute(&values)) TakeInCalendar(now);
}

void TakeInCalendar(const SYSTEMTIME* now) {
  SYSTEMTIME began;
  DWORD busy = RefreshCalendarTimes(now, ReadActiveMode(), &began);
  if (!busy || busy == ReadActiveMode()) return;
  BOOL late = MinuteIndex(&began) != MinuteIndex(now);
  MakeModeActive(busy, SWITCH_CALENDAR_START, late ? &began : nullptr);
}

void TakeInTemporarySwitch() {
  DWORD state = ReadTimeSwitch();
  BOOL pendingFlag = (state & TIME_SWITCH_PENDING) != 0;
  BOOL takenIn = (state & TIME_SWITCH_TAKEN_IN) != 0;
  if (pendingFlag && !takenIn) {
    PendingSwitch pending;
    FindPendingSwitch(&pending);
    if (!pending.Pending) return;
    // The switch is made before it is marked taken in, so that a kill
    // between the two leaves it to be taken in again, never marked and lost.
    if (pending.Mode != ReadActiveMode()) MakeModeActive(pending.Mode, SWITCH_TEMPORARY, nullptr);
    WriteTimeSwitch(ReadTimeSwitch() | TIME_SWITCH_TAKEN_IN);
  } else if (!pendingFlag && takenIn) {
    WriteTimeSwitch(state & ~(DWORD)TIME_SWITCH_TAKEN_IN);
  }
}

void ResumeTemporarySwitch() {
  TemporarySwitchRecord record;
  if (ReadTemporarySwitchRecord(&record)) {
    CarryOutTemporarySwitch(&record);
    ScheduleNextSwitch();
  }
  ClearTemporarySwitchRecord();
}
