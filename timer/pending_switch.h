// A temporary switch already pending in the store: when it ends and to which
// mode it goes back, and the line the bar shows about it.
#pragma once

#include "windows.h"

struct PendingSwitch {
  BOOL Pending;
  DWORD Mode;  // the mode whose key holds the end time
  DWORD StopHour;
  DWORD StopMinutes;
  DWORD ModeBack;
};

// Looks at the modes in order and takes the first whose temporary end time
// is set (either half not 0); Pending is FALSE when none is.
void FindPendingSwitch(PendingSwitch* pending);

// The "Mode Name" of a mode, empty when its key or the value is missing or
// the name does not fit; always terminated.
void ReadModeName(DWORD mode, WCHAR name[]);

// Room for the longest line: the longest pattern, a full mode name and two
// numbers of eleven characters each.
#define PENDING_TEXT_SIZE 128

// "Switching to NAME at HH:MM", the hour and minute with a leading zero below 10.
void FormatPendingText(LPCWSTR name, DWORD hour, DWORD minute, WCHAR text[PENDING_TEXT_SIZE]);
