// Switching the cellular radio for a mode, on a thread of its own: the
// equipment state through telephony, then the SIM's PIN and network
// registration when the radio comes on.
#pragma once

#include <windows.h>

#include "store/mode_record.h"

inline constexpr WCHAR TAPI_APPLICATION_NAME[] = TEXT("Selvane");
#define TAPI_LOWEST_VERSION 0x00010004
#define TAPI_HIGHEST_VERSION 0x00020000

// What one radio thread is given at its start: the mode's radio state and
// its own copy of the SIM code, so that a later apply cannot change the
// code under a thread that is still running. The thread frees it.
struct RadioSwitchRequest {
  DWORD RadioState;
  WCHAR SimCode[SIM_CODE_WIDTH];
};

// Starts a radio thread for the state with a copy of the code (at most
// SIM_CODE_WIDTH - 1 units of it). The thread is not waited for. 0, or -1
// when no thread could be started.
int StartRadioSwitch(DWORD radioState, LPCWSTR simCode);

// The thread: radio on (1) switches to full operation, off (0) to the
// minimum, anything else does nothing. Frees its request; returns 1.
DWORD WINAPI RadioSwitchThread(LPVOID parameter);

// Switches the radio to a telephony equipment state (1 minimum, 5 full),
// offering the SIM code and registering on the network when it comes on.
// 0 when the radio is in that state already; the SIM manager's error when
// there is no SIM handle; the line's error when the line cannot be opened
// or its state read (then nothing is switched and no code offered); else
// the result of lineShutdown.
LONG SetRadioState(DWORD equipmentState, LPCWSTR simCode);

// Waits until no radio thread runs, at most `milliseconds`; TRUE when none does.
BOOL WaitForRadioSwitches(DWORD milliseconds);
