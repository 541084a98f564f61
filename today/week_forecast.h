// The week ahead: the modes the item will make active, minute by minute, if
// nobody switches by hand, worked out on values read once with the item's
// own decision (WeighDueMinutes, WorkOutCalendarTimes), the active mode and
// the calendar times changing as the predicted switches happen. It starts
// as the item does when the phone is switched on at the first minute.
#pragma once

#include <windows.h>

#include "today/calendar_rule.h"
#include "today/switch_weighing.h"

// Room for the changes of a forecast; more are cut off (Truncated).
#define FORECAST_CHANGES_CAPACITY 1024

// A switch the item makes: its minute (MinuteIndex), the mode it makes
// active and why; made late (Missed) when it fell due at MissedMinute.
struct ForecastChange {
  DWORD Minute;
  DWORD Mode;
  SwitchReason Reason;
  BOOL Missed;
  DWORD MissedMinute;
};

// How one mode's rules fared over the span.
struct RuleRecord {
  DWORD StartsDue;      // minutes its daily start fell due at, on one of its days
  DWORD StartsTaken;    // of those, minutes that ended in the mode
  DWORD OverriddenBy;   // the mode a minute of its start ended in instead, last seen
  DWORD StopsDue;       // minutes its daily stop fell due at
  DWORD StopsTaken;     // of those, minutes at which the mode was in effect
  DWORD AppointmentsMet;  // appointments beginning in the span that its calendar rule meets
  DWORD CalendarStarts;   // switches its calendar rule made
};

// What the forecast starts from, as the store holds it.
struct ForecastStart {
  SwitchValues Values;
  DWORD ActiveMode;
  BOOL TemporaryToTakeIn;  // "TimeSwitch" marks a temporary switch pending and not yet taken in
  BOOL Switched;           // the item has switched before, at LastSwitch (MinuteIndex)
  DWORD LastSwitch;
};

struct WeekForecast {
  DWORD FirstMode;  // the mode in effect at the start
  int ChangeCount;
  BOOL Truncated;
  ForecastChange Changes[FORECAST_CHANGES_CAPACITY];
  RuleRecord Rules[LAST_MODE + 1];
};

// Reads the switch values, the active mode, "TimeSwitch" and
// "LastSwitchTime" from the store.
void ReadForecastStart(ForecastStart* start);

// Works out the switches of the `minutes` minutes from `fromMinute` on.
void ForecastWeek(const ForecastStart* start, const Appointment* appointments, int count, DWORD fromMinute,
                  DWORD minutes, WeekForecast* forecast);
