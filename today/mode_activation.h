// Making a mode the active one, as the Today item does at a switch.
#pragma once

#include <windows.h>

#include "today/switch_weighing.h"

// The active mode: "DefaultMode", 0 when it is missing.
DWORD ReadActiveMode();

// True when the store holds a "DefaultMode".
BOOL ActiveModeStored();

// Writes "DefaultMode" and the time of the switch ("LastSwitchTime"),
// applies the mode and its notification table to the phone, registers the
// next wake-up and has the shell journal the switch with its reason, and
// " (missed HH:MM)" when `missed` (the time it fell due) is not null. Modes
// other than 1 to 5 are refused.
void MakeModeActive(DWORD mode, SwitchReason reason, const SYSTEMTIME* missed);

// A switch to the mode already in effect (a pending temporary switch ended
// by a tap on its picture): the time of the switch and its journal line are
// written and the next wake-up registered, but the mode is not applied again.
void KeepModeActive(DWORD mode, SwitchReason reason);
