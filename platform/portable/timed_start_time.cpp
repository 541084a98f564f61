// The time of a timed start: any WORD in any field is checked without
// overflow, as a program may pass whatever it likes.
#include "timed_start_time.h"

#include <cstdio>

namespace portable {

namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace

bool IsTimedStartTime(const SYSTEMTIME& time) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (time.wYear < 1601 || time.wMonth < 1 || time.wMonth > 12 || time.wDay < 1) return false;
  const int days = kDays[time.wMonth - 1] + (time.wMonth == 2 && IsLeapYear(time.wYear) ? 1 : 0);
  return time.wDay <= days && time.wHour < 24 && time.wMinute < 60 && time.wSecond < 60;
}

std::string TimedStartTimeText(const SYSTEMTIME& time) {
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", time.wYear, time.wMonth, time.wDay, time.wHour,
                time.wMinute, time.wSecond);
  return text;
}

}  // namespace portable
