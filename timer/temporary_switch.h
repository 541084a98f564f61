// Writing a temporary switch into the store: its end time in the target
// mode's key, with the mode to go back to, and zeros in every other mode.
#pragma once

#include "windows.h"

// Clears the temporary end time of the modes 1 to 5, creating a mode key
// that does not open, then writes hour, minute and the back mode into the
// target mode's key. So at most one mode carries an end time; hour and
// minute 0 record a cancel.
void WriteTemporarySwitch(DWORD hour, DWORD minute);

// Zeros the temporary end time of the modes 1 to 5 whose keys exist.
void ClearTemporaryStops();

// The end of a switch that starts at hour:minute and lasts `minutes`,
// wrapping past midnight; 00:00 becomes 00:01, since 0:00 means "no time".
void TemporaryEndTime(DWORD hour, DWORD minute, int minutes, DWORD* endHour, DWORD* endMinute);
