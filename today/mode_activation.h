// Making a mode the active one, as the Today item does at a switch.
#pragma once

#include <windows.h>

#include "today/switch_weighing.h"

// Writes "DefaultMode" and the time of the switch ("LastSwitchTime"), has
// the shell journal the switch with its reason, and " (missed HH:MM)" when
// `missed` (the time it fell due) is not null, applies the mode and its
// notification table to the phone and registers the next wake-up. The
// switch is recorded in the store before its first step and the record
// removed after its last (ModeSwitchRecord), so that a kill half way is
// finished by ResumeModeSwitch. Modes other than 1 to 5 are refused.
void MakeModeActive(DWORD mode, SwitchReason reason, const SYSTEMTIME* missed);

// A switch to the mode already in effect (a pending temporary switch ended
// by a tap on its picture): the time of the switch and its journal line are
// written and the next wake-up registered, but the mode is not applied again.
void KeepModeActive(DWORD mode, SwitchReason reason);

// Finishes a switch that a killed item left recorded: every step made again
// with the recorded mode and time, and the journal line, when it was not yet
// written, with " (resumed)" after its reason. A record naming no mode is
// dropped.
void ResumeModeSwitch();
