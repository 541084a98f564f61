// Clock calls: the device's local time and sleeping. When the display is
// headless, time is virtual: Sleep returns at once and moves the clock on.
// Conversions between calendar times and FILETIMEs (100-ns intervals since
// 1601-01-01).
#pragma once

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

// FALSE (ERROR_INVALID_PARAMETER) for a date or time that does not exist;
// wDayOfWeek is ignored.
BOOL SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime);
// Fills wDayOfWeek too; FALSE for a time beyond 0x7FFFFFFFFFFFFFFF.
BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime);
// -1, 0 or 1 as the first time is earlier than, equal to or later than the second.
LONG CompareFileTime(const FILETIME* lpFileTime1, const FILETIME* lpFileTime2);
