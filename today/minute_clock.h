// Minutes of the phone's clock counted as one number, so that the item can
// step through the minutes between two times whatever days lie between.
#pragma once

#include <windows.h>

#define MINUTES_A_DAY (24 * 60)

// The minute of a local time, counted from 1 January 1601; 0 for a time
// that is no date.
DWORD MinuteIndex(const SYSTEMTIME* time);

// The local time at the start of a minute, day of the week included.
void MinuteTime(DWORD index, SYSTEMTIME* time);
