// Switch scheduling: the next time any mode is due to start or stop, and
// the timed start of the wake keeper Lumist at that time.
#pragma once

#include <windows.h>

// The wake keeper's file in the install folder.
inline constexpr WCHAR WAKE_KEEPER_PATH_FORMAT[] = TEXT("%s\\Lumist.exe");
// The wake-up comes five seconds into the switch minute.
#define WAKE_UP_SECOND 5

// Reads the switch times of modes 1 to 5 afresh and registers Lumist for
// the earliest one later than now today, else for the earliest one
// tomorrow; registers nothing when no mode has a time. Returns 0.
int ScheduleNextSwitch();

// Takes back the registered wake-up (a switch that will not come); the next
// ScheduleNextSwitch registers whatever switch still lies ahead.
void WithdrawNextSwitch();

// Moves `date` on by one day through the calendar of SystemTimeToFileTime:
// month and year ends, leap years, and the day of the week (Sunday 0). A
// date that is none (a month outside 1..12, 30 February) is left unchanged.
void AdvanceOneDay(SYSTEMTIME* date);
