// The phone time of the last switch the item made, kept in the store's root
// ("LastSwitchTime"), so that a phone switched on again knows from when on
// it missed switches.
#pragma once

#include <windows.h>

// The minute (MinuteIndex) of the last switch; FALSE when the item has made
// none, or the value is not a time it wrote.
BOOL ReadLastSwitch(DWORD* minute);

// Keeps `time` as the time of the last switch.
void WriteLastSwitch(const SYSTEMTIME* time);
