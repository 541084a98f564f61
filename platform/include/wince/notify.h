// Timed application starts: the call a program uses to have the phone
// woken and itself started at a time.
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Registers `appName` to be started at the local time `time`, with the
// command line "AppRunAtTime". One registration per program path (paths
// compared without regard to case): a later call for the same path replaces
// it, a null time removes it. An impossible date or time fails with
// ERROR_INVALID_PARAMETER and leaves the registration as it was.
BOOL CeRunAppAtTime(LPCWSTR appName, SYSTEMTIME* time);

#ifdef __cplusplus
}
#endif
