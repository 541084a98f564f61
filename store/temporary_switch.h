// A temporary switch in the store: its end time and the mode to go back to
// in the mode keys ("StopHourTemp", "StopMinutesTemp", "ModeBackTemp"),
// written by the timer bar and read by the bar, the Today item and the tool.
#pragma once

#include <windows.h>

#include "store/switch_records.h"

struct PendingSwitch {
  BOOL Pending;
  DWORD Mode;  // the mode whose key holds the end time
  DWORD StopHour;
  DWORD StopMinutes;
  DWORD ModeBack;
};

// Looks at the modes in order and takes the first whose temporary end time
// is set (either half not 0); Pending is FALSE when none is.
void FindPendingSwitch(PendingSwitch* pending);

// Clears the temporary end time of the modes 1 to 5, creating a mode key
// that does not open, then writes hour, minute and `backMode` into the key
// of `targetMode`. So at most one mode carries an end time; hour and minute
// 0 record a cancel.
void WriteTemporarySwitch(DWORD targetMode, DWORD backMode, DWORD hour, DWORD minute);

// Zeros the temporary end time of the modes 1 to 5 whose keys exist.
void ClearTemporaryStops();

// Writes a recorded temporary switch into the store as the timer bar makes
// it: for a duration set, the end time and "TimeSwitch" marked pending; for
// a cancel, no end time in any mode and "TimeSwitch" cleared of it. Every
// step writes a fixed value, so carrying it out again after a kill comes to
// the same store. Registering the next wake-up is the caller's.
void CarryOutTemporarySwitch(const TemporarySwitchRecord* record);
