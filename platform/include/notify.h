// Timed application starts and synthetic key events: the calls a program
// uses to have the phone woken at a time and kept awake.
#pragma once

#include "wintypes.h"
#include "wintime.h"

// Registers `appName` to be started at the local time `time`, with the
// command line "AppRunAtTime". One registration per program path (paths
// compared without regard to case): a later call for the same path replaces
// it, a null time removes it. An impossible date or time fails with
// ERROR_INVALID_PARAMETER and leaves the registration as it was.
BOOL CeRunAppAtTime(LPCWSTR appName, SYSTEMTIME* time);

#define KEYEVENTF_EXTENDEDKEY 0x0001
#define KEYEVENTF_KEYUP 0x0002
#define KEYEVENTF_SILENT 0x0004
#ifndef VK_F24
#define VK_F24 0x87
#endif

// A synthetic key event; it counts as user activity and keeps the phone awake.
void keybd_event(BYTE virtualKey, BYTE scanCode, DWORD flags, DWORD extraInfo);
