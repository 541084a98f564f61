// SystemTimeToFileTime, FileTimeToSystemTime and CompareFileTime: calendar
// times to and from FILETIMEs, in the proleptic Gregorian calendar.
#include <cstdint>

#include <windows.h>

namespace {

constexpr uint64_t kTicksPerMillisecond = 10000;
constexpr uint64_t kTicksPerDay = 86400000ull * kTicksPerMillisecond;
// Days from 0000-03-01 (the start of the 400-year cycle's years) to 1601-01-01.
constexpr int64_t kDaysTo1601 = 584694;
// The largest FILETIME Windows converts: it falls in the year 30828.
constexpr uint64_t kLatestFileTime = 0x7FFFFFFFFFFFFFFFull;

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1601-01-01 of a valid date (years counted from March, so
// that the leap day ends its year).
int64_t DaysSince1601(int year, int month, int day) {
  if (month <= 2) --year;
  const int64_t era = year / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - kDaysTo1601;
}

// The date of a day since 1601-01-01 (not negative).
void DateOf(int64_t days, int* year, int* month, int* day) {
  const int64_t z = days + kDaysTo1601;
  const int64_t era = z / 146097;
  const int64_t dayOfEra = z - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  *day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  *month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  *year = static_cast<int>(yearOfEra + era * 400 + (*month <= 2 ? 1 : 0));
}

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
  if (t.wYear < 1601 || t.wYear > 30827 || t.wMonth < 1 || t.wMonth > 12 || t.wDay < 1 ||
      t.wDay > DaysInMonth(t.wYear, t.wMonth) || t.wHour > 23 || t.wMinute > 59 || t.wSecond > 59 ||
      t.wMilliseconds > 999) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const uint64_t milliseconds =
      ((static_cast<uint64_t>(t.wHour) * 60 + t.wMinute) * 60 + t.wSecond) * 1000 + t.wMilliseconds;
  const uint64_t ticks = static_cast<uint64_t>(DaysSince1601(t.wYear, t.wMonth, t.wDay)) * kTicksPerDay +
                         milliseconds * kTicksPerMillisecond;
  lpFileTime->dwLowDateTime = static_cast<DWORD>(ticks);
  lpFileTime->dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime) {
  if (!lpFileTime || !lpSystemTime || TicksOf(*lpFileTime) > kLatestFileTime) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const uint64_t ticks = TicksOf(*lpFileTime);
  const int64_t days = static_cast<int64_t>(ticks / kTicksPerDay);
  uint64_t milliseconds = ticks % kTicksPerDay / kTicksPerMillisecond;
  int year, month, day;
  DateOf(days, &year, &month, &day);
  SYSTEMTIME& t = *lpSystemTime;
  t.wYear = static_cast<WORD>(year);
  t.wMonth = static_cast<WORD>(month);
  t.wDay = static_cast<WORD>(day);
  t.wDayOfWeek = static_cast<WORD>((days + 1) % 7);  // 1601-01-01 was a Monday
  t.wMilliseconds = static_cast<WORD>(milliseconds % 1000);
  milliseconds /= 1000;
  t.wSecond = static_cast<WORD>(milliseconds % 60);
  milliseconds /= 60;
  t.wMinute = static_cast<WORD>(milliseconds % 60);
  t.wHour = static_cast<WORD>(milliseconds / 60);
  return TRUE;
}

LONG CompareFileTime(const FILETIME* lpFileTime1, const FILETIME* lpFileTime2) {
  const uint64_t first = TicksOf(*lpFileTime1);
  const uint64_t second = TicksOf(*lpFileTime2);
  return first < second ? -1 : first > second ? 1 : 0;
}
