// Putting a stored mode into effect: the mode and its notification table,
// both read afresh from the store.
#pragma once

#include <windows.h>

// Loads mode `keyName` ("Mode 2"), applies it with ApplyMode and applies its
// notification table to the phone's events. Returns 0.
int ApplyStoredMode(LPCWSTR keyName);

// How long a switch waits for the radio thread of its apply.
#define APPLIED_RADIO_WAIT_MS 10000

// Waits until the radio thread of the last apply has switched the radio (at
// most APPLIED_RADIO_WAIT_MS): a switch recorded as underway is complete,
// and its record may go, only then.
void WaitForAppliedRadio();

// The mode an apply of the active mode puts into effect: the active mode as
// stored now (ReadActiveMode), or `fallback` when the store names none.
DWORD ModeToApply(DWORD fallback);

// Applies the active mode again when a killed program left its apply
// recorded (RecordModeApply): ModeToApply with the recorded mode as the
// fallback. Applying a mode writes fixed values, so applying it twice does
// no harm. TRUE when there was one; the record is the caller's to clear once
// the next wake-up is registered.
BOOL FinishInterruptedApply();
