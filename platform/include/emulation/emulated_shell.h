// The emulated phone's shell, for the program that plays the Today screen
// (the phone's SDK has no such calls: its shell is the phone's own). While its
// message loop runs, each program registered with CeRunAppAtTime is started
// at its time with the command line "AppRunAtTime" (a registration whose
// time passed while the phone was off is started at once), and the window
// `notify` is then posted WM_SHELL_TIMED_START. Headless, the phone is
// switched off when the program's automation script is done.
#pragma once

#include <windows.h>

#define WM_SHELL_TIMED_START (WM_USER + 0x7E0)

BOOL ShellStartTimedPrograms(HWND notify);

// The shell's record of a switch made by its Today item: the journal line
// `ModeSwitch N "NAME" REASON` (REASON as given, e.g. "daily start" or
// "daily start (missed 22:30)"). FALSE when the name or reason is missing.
BOOL ShellRecordModeSwitch(DWORD mode, LPCWSTR modeName, LPCWSTR reason);

// The shell's record of a call that its Today item lets ring although the
// active mode is quiet: the journal line `ModeException NUMBER "NAME" rings:
// REASON` (NAME the contact's, or empty). FALSE when an argument is missing.
BOOL ShellRecordModeException(LPCWSTR number, LPCWSTR callerName, LPCWSTR reason);
