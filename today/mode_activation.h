// Making a mode the active one, as the Today item does at a switch.
#pragma once

#include "windows.h"

// The active mode: "DefaultMode", 0 when it is missing.
DWORD ReadActiveMode();

// Room for "Mode %d".
#define TODAY_KEY_NAME_SIZE 20

// Writes "DefaultMode", applies the mode and its notification table to the
// phone and registers the next wake-up. Modes other than 1 to 5 are refused.
void MakeModeActive(DWORD mode);
