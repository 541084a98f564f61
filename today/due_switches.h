// The switches the item makes as time passes: those due at each minute,
// those missed while the phone was off, the temporary switch that the timer
// bar writes, and the calendar's appointments. What "TimeSwitch" means to
// the item: 4 = a temporary switch is pending (the timer bar sets and clears
// it), 1 = the item has made its target active; 8 and 2 are left as they are.
#pragma once

#include <windows.h>

#define TIME_SWITCH_PENDING 4
#define TIME_SWITCH_TAKEN_IN 1

// Makes the switches due in the minutes not yet looked at, up to the minute
// of `now` once its wake-up second has passed. When the phone has just come
// on, those are the minutes after the item's last switch ("LastSwitchTime")
// within the last 24 hours, or only the minute of `now` when the item has
// never switched; a switch by hand moves that start on, so that no earlier
// time undoes it. The minutes are weighed in time order from the active
// mode (WeighMinute; an appointment's start only at the minute of `now`),
// and the mode in effect at the end is made active once, with the reason of
// the switch that decided it, missed when that was not at the minute of
// `now`. A temporary switch that ended is cleared; the calendar is read again
// when an appointment ended or a mode's rule asks for it each minute.
// `woken` (Lumist started) registers the next wake-up also when nothing is
// switched, as the scheduler wakes the phone every day whatever its days.
void SwitchDueModes(const SYSTEMTIME* now, BOOL woken);

// Reads the calendar again (RefreshCalendarTimes) and makes the busy mode of
// an appointment going on now active, missed when it began before this minute.
void TakeInCalendar(const SYSTEMTIME* now);

// A temporary switch that the timer bar has just written makes its target
// active at once; one that it cancelled leaves the mode in effect as it is.
// Returns "TimeSwitch" as the item leaves it.
DWORD TakeInTemporarySwitch();

// Finishes a temporary switch that a killed timer bar left recorded
// (CarryOutTemporarySwitch) and registers the next wake-up; the switch is
// then taken in like one the bar has just written.
void ResumeTemporarySwitch();

// Ends a pending temporary switch as the bar's cancel does (no end time in
// any mode, "TimeSwitch" mapped as for a cancel) and clears the item's mark.
void CancelTemporarySwitch();
