// Reading the switch values of a mode key and the words of the store's root
// as the item needs them, without repairing anything (the settings program
// owns that).
#pragma once

#include <windows.h>

#include "store/mode_record.h"

// The values of one mode that decide its switches.
struct ModeSwitchValues {
  BOOL Present;  // the key opened
  DWORD StartHour, StartMinutes;
  DWORD StopHour, StopMinutes;
  DWORD ModeBack;
  DWORD Days;
  DWORD OutlookSwitch, OutlookAutoRefresh, ModeBusy, Status;
  DWORD StartHourOutlook, StartMinutesOutlook;
  DWORD StopHourOutlook, StopMinutesOutlook;
  WCHAR Category[CATEGORY_WIDTH];
};

// Reads mode 1 to 5; a missing value takes the loader's default (times
// and calendar values 0, "ModeBack" 1, "Days" every day, "Category" empty).
void ReadModeSwitchValues(DWORD mode, ModeSwitchValues* values);

// Writes one DWORD into an existing mode key; FALSE when the key does not open.
BOOL WriteModeDword(DWORD mode, LPCWSTR name, DWORD value);

// Pairs are the same time of day; (0, 0) is no time and matches nothing.
BOOL IsTimeOfDay(DWORD hour, DWORD minute, const SYSTEMTIME* now);

// True when "Days" ticks the day of the week (Sunday 0): one hexadecimal
// digit a day, Monday the highest, Sunday the lowest.
BOOL DayTicked(DWORD days, WORD dayOfWeek);

// True when a daily start is made on the day of the week: on the days that
// "Days" ticks, or every day when it ticks none.
BOOL StartsOnDay(DWORD days, WORD dayOfWeek);
