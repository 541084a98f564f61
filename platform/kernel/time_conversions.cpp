// SystemTimeToFileTime, FileTimeToSystemTime and CompareFileTime: calendar
// times to and from FILETIMEs, in the proleptic Gregorian calendar.
#include <chrono>
#include <cstdint>

#include <windows.h>

#include "../time/civil_time.h"

namespace {

// The largest FILETIME Windows converts: it falls in the year 30828.
constexpr uint64_t kLatestFileTime = 0x7FFFFFFFFFFFFFFFull;

uint64_t TicksOf(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

BOOL SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime) {
  if (!lpSystemTime || !lpFileTime) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const SYSTEMTIME& t = *lpSystemTime;
  const platform::CivilTime civil{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
  if (t.wYear < 1601 || t.wYear > 30827 || !platform::IsRealCivilTime(civil)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const uint64_t ticks = static_cast<uint64_t>(platform::FileTimeTicksOf(platform::TimeOfCivil(civil)));
  lpFileTime->dwLowDateTime = static_cast<DWORD>(ticks);
  lpFileTime->dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime) {
  if (!lpFileTime || !lpSystemTime || TicksOf(*lpFileTime) > kLatestFileTime) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const auto instant = platform::TimeOfFileTimeTicks(static_cast<int64_t>(TicksOf(*lpFileTime)));
  const platform::CivilTime civil =
      platform::CivilTimeOf(std::chrono::floor<std::chrono::milliseconds>(instant));
  SYSTEMTIME& t = *lpSystemTime;
  t.wYear = static_cast<WORD>(civil.year);
  t.wMonth = static_cast<WORD>(civil.month);
  t.wDay = static_cast<WORD>(civil.day);
  t.wDayOfWeek = static_cast<WORD>(civil.weekday);
  t.wHour = static_cast<WORD>(civil.hour);
  t.wMinute = static_cast<WORD>(civil.minute);
  t.wSecond = static_cast<WORD>(civil.second);
  t.wMilliseconds = static_cast<WORD>(civil.millisecond);
  return TRUE;
}

LONG CompareFileTime(const FILETIME* lpFileTime1, const FILETIME* lpFileTime2) {
  const uint64_t first = TicksOf(*lpFileTime1);
  const uint64_t second = TicksOf(*lpFileTime2);
  return first < second ? -1 : first > second ? 1 : 0;
}
