// How the switches due at one minute weigh against each other, over the
// store's values read once. The minute's switches, the switches missed while
// the phone was off and the next switch of the day are all weighed this way.
#pragma once

#include <windows.h>

#include "store/mode_keys.h"
#include "store/temporary_switch.h"
#include "today/mode_values.h"

// Why the item makes a mode active.
enum SwitchReason {
  SWITCH_FIRST_RUN,
  SWITCH_BY_HAND,
  SWITCH_TEMPORARY,
  SWITCH_TEMPORARY_END,
  SWITCH_DAILY_START,
  SWITCH_DAILY_STOP,
  SWITCH_CALENDAR_START,
  SWITCH_CALENDAR_END,
  SWITCH_NO_VALID_MODE,  // "DefaultMode" named no mode when the phone came on
};

// The words the journal gives a SwitchReason ("daily start"); null for a
// number that is no reason.
LPCWSTR SwitchReasonText(DWORD reason);

// The values of modes 1 to 5 that decide their switches, and the pending
// temporary switch.
struct SwitchValues {
  ModeSwitchValues Modes[LAST_MODE + 1];
  PendingSwitch Temporary;
};

void ReadSwitchValues(SwitchValues* values);

// What the switches due at one minute come to.
struct WeighedMinute {
  DWORD Mode;            // the mode in effect once they are made
  SwitchReason Reason;   // the switch that decided it, when Mode differs from the one before
  BOOL TemporaryEnded;   // the pending temporary switch ends at the minute
  BOOL CalendarEnded;    // an appointment of a mode's rule ends at the minute
};

// Weighs the switches due at `at` (hour, minute and day of the week) from
// `activeMode`, a later one overriding an earlier: the daily stop of the
// active mode (back to its "ModeBack"), a daily start on a day it is made
// (StartsOnDay), the end and then the start of an appointment of the
// calendar rule of the mode in effect (starts only when `calendarStarts`),
// the end of the temporary switch (back to its "ModeBackTemp").
void WeighMinute(const SwitchValues* values, const SYSTEMTIME* at, DWORD activeMode, BOOL calendarStarts,
                 WeighedMinute* weighed);

// Room for every time of day a switch can be due at: four pairs a mode and
// the temporary end.
#define SWITCH_TIMES_CAPACITY (4 * LAST_MODE + 1)

// The distinct times of day (hour * 60 + minute) at which a switch of
// `values` falls due, earliest first; returns how many. (0, 0) and pairs
// that are no time of day are left out.
int ListSwitchTimes(const SwitchValues* values, DWORD times[SWITCH_TIMES_CAPACITY]);

// A daily start, an appointment or the end of a temporary switch later today
// that changes the mode in effect: its mode and time. FALSE when none is.
BOOL FindNextSwitchToday(const SwitchValues* values, const SYSTEMTIME* now, DWORD activeMode, DWORD* mode,
                         DWORD* hour, DWORD* minute);

// True when a mode's calendar rule asks for the calendar to be read each minute.
BOOL CalendarRefreshedEachMinute(const SwitchValues* values);
