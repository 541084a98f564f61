// "TimeSwitch", the state word about a temporary switch that the timer bar
// shares with the Today item: the bar changes only its own rows.
#pragma once

#include <windows.h>

// 0..3 become 4..7 when a duration is set; any other value stays.
DWORD TimeSwitchAfterSet(DWORD before);
// 4..7 become 0..3 and 10, 11 become 8, 9 on cancel; any other value stays.
DWORD TimeSwitchAfterCancel(DWORD before);

// Reads "TimeSwitch" (0 when missing), maps it for a set or a cancel and
// writes it back, when the store's root key opens. A value that is not a
// DWORD is not the state word as this system knows it, and is
// left alone.
void UpdateTimeSwitch(BOOL durationSet);
