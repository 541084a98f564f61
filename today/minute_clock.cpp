// Minutes go through the platform's file times (100-ns units since 1601),
// which carry the calendar's month lengths and leap years.
#include "today/minute_clock.h"

#define FILE_TIME_UNITS_A_MINUTE 600000000ULL

DWORD MinuteIndex(const SYSTEMTIME* time) {
  FILETIME file = {};
  if (!SystemTimeToFileTime(time, &file)) return 0;
  ULONGLONG units = ((ULONGLONG)file.dwHighDateTime << 32) | file.dwLowDateTime;
  return (DWORD)(units / FILE_TIME_UNITS_A_MINUTE);
}

void MinuteTime(DWORD index, SYSTEMTIME* time) {
  ULONGLONG units = (ULONGLONG)index * FILE_TIME_UNITS_A_MINUTE;
  FILETIME file;
  file.dwLowDateTime = (DWORD)units;
  file.dwHighDateTime = (DWORD)(units >> 32);
  FileTimeToSystemTime(&file, time);
}
