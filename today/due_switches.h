// The switches due at a minute, and the temporary switch that the timer bar
// writes. What "TimeSwitch" means to the item: 4 = a temporary switch is
// pending (the timer bar sets and clears it), 1 = the item has made its
// target active; 8 and 2 are left as they are.
#pragma once

#include "windows.h"

#define TIME_SWITCH_PENDING 4
#define TIME_SWITCH_TAKEN_IN 1

// The mode in effect once the switches due at `now` (hour and minute) are
// made, the active mode when none is due. In the order in which they are
// weighed, a later one overriding an earlier: the daily stop of the active
// mode (back to its "ModeBack"), a daily start on a day ticked in "Days",
// the calendar rule of the mode in effect, the end of a temporary switch
// (back to its "ModeBackTemp"). Ending a temporary switch clears it in the
// store; nothing else is written. `readCalendar` (may be null) tells whether
// the calendar is to be read again: an appointment of a mode's rule ended,
// or a mode with the rule asks for "OutlookAutoRefresh".
DWORD FindDueSwitch(const SYSTEMTIME* now, DWORD activeMode, BOOL* readCalendar);

// Makes the minute's switches once per minute; `woken` when the phone was
// woken for the minute (Lumist started), which also registers the next
// wake-up when nothing is due, as the scheduler wakes the phone every day
// whatever the days of a mode.
void SwitchDueModes(const SYSTEMTIME* now, BOOL woken);

// A temporary switch that the timer bar has just written makes its target
// active at once; one that it cancelled leaves the mode in effect as it is.
void TakeInTemporarySwitch();
