// Clock calls: the device's local time and sleeping. When the display is
// headless, time is virtual: Sleep returns at once and moves the clock on.
#pragma once

#include "wintypes.h"

typedef struct _SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;  // 0 = Sunday
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
} SYSTEMTIME, *LPSYSTEMTIME;

void GetLocalTime(LPSYSTEMTIME time);
void Sleep(DWORD milliseconds);
DWORD GetTickCount();
