// Putting a stored mode into effect: the mode and its notification table,
// both read afresh from the store.
#pragma once

#include <windows.h>

// Loads mode `keyName` ("Mode 2"), applies it with ApplyMode and applies its
// notification table to the phone's events. Returns 0.
int ApplyStoredMode(LPCWSTR keyName);
