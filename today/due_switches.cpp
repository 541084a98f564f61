// Each minute the item weighs the stored switch times against the clock;
// the store is read afresh every time, as the other programs change it.
#include "today/due_switches.h"

#include "schedule/switch_schedule.h"
#include "store/root_values.h"
#include "store/switch_records.h"
#include "store/temporary_switch.h"
#include "store/time_switch.h"
#include "today/calendar_rule.h"
#include "today/due_minutes.h"
#include "today/held_root_key.h"
#include "today/last_switch.h"
#include "today/minute_clock.h"
#include "today/mode_activation.h"
#include "today/switch_weighing.h"
#include "today/today_state.h"

static DWORD ReadTimeSwitch() {
  DWORD state = 0;
  ReadHeldRootDword(TIME_SWITCH_VALUE, &state);
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
  DWORD lastSwitch = 0;
  BOOL switched = ReadLastSwitch(&lastSwitch);
  DWORD first = FirstMinuteToWeigh(Today.CheckedThrough, switched, lastSwitch, nowMinute, due);
  Today.CheckedThrough = due;

  SwitchValues values;
  ReadSwitchValues(&values);
  DWORD minutes[SWITCH_TIMES_CAPACITY];
  int count = first <= due ? ListDueMinutes(&values, first, due, minutes) : 0;
  DWORD active = ReadActiveMode();
  DueMinutesOutcome outcome;
  WeighDueMinutes(&values, minutes, count, nowMinute, active, &outcome);
  if (outcome.TemporaryEnded) ClearEndedTemporarySwitch();
  if (outcome.Mode != active) {
    SYSTEMTIME missed;
    MinuteTime(outcome.DecidedAt, &missed);
    MakeModeActive(outcome.Mode, outcome.Reason, outcome.DecidedAt == nowMinute ? nullptr : &missed);
  } else if (woken || outcome.TemporaryEnded) {
    ScheduleNextSwitch();
  }
  // The next appointment found may begin at once.
  if (outcome.CalendarEnded || CalendarRefreshedEachMinute(&values)) TakeInCalendar(now);
}

void TakeInCalendar(const SYSTEMTIME* now) {
  SYSTEMTIME began;
  DWORD busy = RefreshCalendarTimes(now, ReadActiveMode(), &began);
  if (!busy || busy == ReadActiveMode()) return;
  BOOL late = MinuteIndex(&began) != MinuteIndex(now);
  MakeModeActive(busy, SWITCH_CALENDAR_START, late ? &began : nullptr);
}

DWORD TakeInTemporarySwitch() {
  DWORD state = ReadTimeSwitch();
  BOOL pendingFlag = (state & TIME_SWITCH_PENDING) != 0;
  BOOL takenIn = (state & TIME_SWITCH_TAKEN_IN) != 0;
  if (pendingFlag && !takenIn) {
    PendingSwitch pending;
    FindPendingSwitch(&pending);
    if (!pending.Pending) return state;
    // The switch is made before it is marked taken in, so that a kill
    // between the two leaves it to be taken in again, never marked and lost.
    if (pending.Mode != ReadActiveMode()) MakeModeActive(pending.Mode, SWITCH_TEMPORARY, nullptr);
    state = ReadTimeSwitch() | TIME_SWITCH_TAKEN_IN;
    WriteTimeSwitch(state);
  } else if (!pendingFlag && takenIn) {
    state &= ~(DWORD)TIME_SWITCH_TAKEN_IN;
    WriteTimeSwitch(state);
  }
  return state;
}

void ResumeTemporarySwitch() {
  TemporarySwitchRecord record;
  if (ReadTemporarySwitchRecord(&record)) {
    CarryOutTemporarySwitch(&record);
    ScheduleNextSwitch();
  }
  ClearTemporarySwitchRecord();
}
