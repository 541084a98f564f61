// The forecast walks the minutes as the item's tick does: the phone comes on
// at the first minute's second 0 (the missed switches, the calendar and a
// temporary switch taken in), then each minute is weighed at its wake-up
// second, and the calendar read again when the item would read it.
#include "today/week_forecast.h"

#include <string.h>

#include "schedule/switch_schedule.h"
#include "store/mode_store.h"
#include "store/root_values.h"
#include "today/due_minutes.h"
#include "today/due_switches.h"
#include "today/last_switch.h"
#include "today/minute_clock.h"
#include "today/mode_values.h"

static BOOL IsMode(DWORD mode) { return mode >= FIRST_MODE && mode <= LAST_MODE; }

void ReadForecastStart(ForecastStart* start) {
  ReadSwitchValues(&start->Values);
  start->ActiveMode = ReadActiveMode();
  DWORD state = 0;
  ReadRootDword(TIME_SWITCH_VALUE, &state);
  start->TemporaryToTakeIn = (state & TIME_SWITCH_PENDING) && !(state & TIME_SWITCH_TAKEN_IN);
  start->LastSwitch = 0;
  start->Switched = ReadLastSwitch(&start->LastSwitch);
}

// The walk's state: the values as the item would read them at each minute,
// the mode in effect, the last minute looked at and the last switch.
struct ForecastWalk {
  SwitchValues Values;
  DWORD Mode;
  DWORD CheckedThrough;
  BOOL Switched;
  DWORD LastSwitch;
  const Appointment* Appointments;
  int AppointmentCount;
  WeekForecast* Forecast;
};

static void NoteChange(ForecastWalk* walk, DWORD minute, DWORD mode, SwitchReason reason, DWORD decidedAt) {
  WeekForecast* forecast = walk->Forecast;
  if (reason == SWITCH_CALENDAR_START) {
    // Credited to the rule of the mode it switched from, or to the rule whose
    // appointment begins at the minute.
    SYSTEMTIME at;
    MinuteTime(decidedAt, &at);
    for (DWORD rule = FIRST_MODE; rule <= LAST_MODE; ++rule) {
      const ModeSwitchValues* values = &walk->Values.Modes[rule];
      if (values->OutlookSwitch != 1 || values->ModeBusy != mode) continue;
      if (rule == walk->Mode || IsTimeOfDay(values->StartHourOutlook, values->StartMinutesOutlook, &at))
        forecast->Rules[rule].CalendarStarts++;
    }
  }
  walk->Mode = mode;
  walk->Switched = TRUE;
  walk->LastSwitch = minute;
  if (forecast->ChangeCount == FORECAST_CHANGES_CAPACITY) {
    forecast->Truncated = TRUE;
    return;
  }
  ForecastChange* change = &forecast->Changes[forecast->ChangeCount++];
  change->Minute = minute;
  change->Mode = mode;
  change->Reason = reason;
  change->Missed = decidedAt != minute;
  change->MissedMinute = decidedAt;
}

// The calendar read again at `now` (TakeInCalendar): the calendar times
// replaced, and the busy mode of an appointment going on now made active.
static void ReadCalendar(ForecastWalk* walk, const SYSTEMTIME* now) {
  SYSTEMTIME began;
  DWORD busy = WorkOutCalendarTimes(walk->Appointments, walk->AppointmentCount, walk->Values.Modes, now, walk->Mode,
                                    &began);
  if (!busy || busy == walk->Mode || !IsMode(busy)) return;
  NoteChange(walk, MinuteIndex(now), busy, SWITCH_CALENDAR_START, MinuteIndex(&began));
}

// Which rules the switches due at `minute` gave a say, the minute having
// ended in `after` from `before`.
static void RecordRules(ForecastWalk* walk, DWORD minute, DWORD before, DWORD after) {
  SYSTEMTIME at;
  MinuteTime(minute, &at);
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    const ModeSwitchValues* values = &walk->Values.Modes[mode];
    RuleRecord* record = &walk->Forecast->Rules[mode];
    if (IsTimeOfDay(values->StartHour, values->StartMinutes, &at) && StartsOnDay(values->Days, at.wDayOfWeek)) {
      record->StartsDue++;
      if (after == mode)
        record->StartsTaken++;
      else
        record->OverriddenBy = after;
    }
    if (IsTimeOfDay(values->StopHour, values->StopMinutes, &at)) {
      record->StopsDue++;
      if (before == mode) record->StopsTaken++;
    }
  }
}

// Weighs the minutes not yet looked at up to `due` as SwitchDueModes does at
// `now`: a switch made in a minute moves the next look past it.
static void WeighMinutes(ForecastWalk* walk, DWORD due, const SYSTEMTIME* now) {
  DWORD nowMinute = MinuteIndex(now);
  DWORD first = FirstMinuteToWeigh(walk->CheckedThrough, walk->Switched, walk->LastSwitch, nowMinute, due);
  walk->CheckedThrough = due;
  SwitchValues read = walk->Values;
  DWORD minutes[SWITCH_TIMES_CAPACITY];
  int count = first <= due ? ListDueMinutes(&walk->Values, first, due, minutes) : 0;
  DWORD before = walk->Mode;
  DueMinutesOutcome outcome;
  WeighDueMinutes(&walk->Values, minutes, count, nowMinute, before, &outcome);
  if (count == 1 && minutes[0] == nowMinute) RecordRules(walk, nowMinute, before, outcome.Mode);
  if (outcome.Mode != before) NoteChange(walk, nowMinute, outcome.Mode, outcome.Reason, outcome.DecidedAt);
  if (outcome.CalendarEnded || CalendarRefreshedEachMinute(&read)) ReadCalendar(walk, now);
}

// Appointments beginning in the span that each mode's calendar rule meets.
static void CountAppointments(ForecastWalk* walk, DWORD fromMinute, DWORD minutes) {
  for (int i = 0; i < walk->AppointmentCount; ++i) {
    DWORD begins = MinuteIndex(&walk->Appointments[i].Start);
    if (begins < fromMinute || begins >= fromMinute + minutes) continue;
    for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
      const ModeSwitchValues* values = &walk->Values.Modes[mode];
      if (values->OutlookSwitch == 1 && AppointmentMatches(&walk->Appointments[i], values->Status, values->Category))
        walk->Forecast->Rules[mode].AppointmentsMet++;
    }
  }
}

void ForecastWeek(const ForecastStart* start, const Appointment* appointments, int count, DWORD fromMinute,
                  DWORD minutes, WeekForecast* forecast) {
  memset(forecast, 0, sizeof *forecast);
  forecast->FirstMode = start->ActiveMode;
  ForecastWalk walk;
  walk.Values = start->Values;
  walk.Mode = start->ActiveMode;
  walk.Appointments = appointments;
  walk.AppointmentCount = count;
  walk.Forecast = forecast;
  walk.CheckedThrough = 0;
  walk.Switched = start->Switched;
  walk.LastSwitch = start->LastSwitch;
  CountAppointments(&walk, fromMinute, minutes);

  // Switched on at second 0: the switches missed before the first minute,
  // the calendar, then a temporary switch that the bar wrote.
  SYSTEMTIME now;
  MinuteTime(fromMinute, &now);
  WeighMinutes(&walk, fromMinute - 1, &now);
  ReadCalendar(&walk, &now);
  const PendingSwitch* temporary = &walk.Values.Temporary;
  if (start->TemporaryToTakeIn && temporary->Pending && temporary->Mode != walk.Mode && IsMode(temporary->Mode))
    NoteChange(&walk, fromMinute, temporary->Mode, SWITCH_TEMPORARY, fromMinute);

  for (DWORD minute = fromMinute; minute < fromMinute + minutes; ++minute) {
    MinuteTime(minute, &now);
    now.wSecond = WAKE_UP_SECOND;
    WeighMinutes(&walk, minute, &now);
  }
}
