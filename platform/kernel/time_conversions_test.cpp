// SystemTimeToFileTime, FileTimeToSystemTime and CompareFileTime as Windows
// has them: known instants, every day of a leap cycle there and back, and
// the dates and FILETIMEs that Windows refuses.
#include <gtest/gtest.h>

#include <cstdint>

#include <windows.h>

#include "../testing/system_time_at.h"

namespace {

using testing_support::SystemTimeAt;

uint64_t Ticks(const FILETIME& time) { return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime; }

FILETIME FromTicks(uint64_t ticks) { return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)}; }


}  // namespace

// The calendar itself (the epochs, leap years, weekdays, fields out of
// range) is the civil time's to show; these show the calls' own contract.
TEST(TimeConversions, AKnownInstantHasItsWindowsFileTime) {
  FILETIME time;
  SYSTEMTIME t = SystemTimeAt(2005, 3, 1, 7, 0, 5, 250);
  ASSERT_TRUE(SystemTimeToFileTime(&t, &time));
  EXPECT_EQ(Ticks(time), 116444736000000000ull + (1109660405000ull + 250) * 10000);
}

TEST(TimeConversions, FileTimeToSystemTimeFillsEveryFieldWithTheDayOfWeek) {
  SYSTEMTIME t{};
  FILETIME time = FromTicks(116444736000000000ull + (1109660405000ull + 250) * 10000 + 9999);
  ASSERT_TRUE(FileTimeToSystemTime(&time, &t));
  EXPECT_EQ(t.wYear, 2005);
  EXPECT_EQ(t.wMonth, 3);
  EXPECT_EQ(t.wDay, 1);
  EXPECT_EQ(t.wDayOfWeek, 2);  // a Tuesday
  EXPECT_EQ(t.wHour, 7);
  EXPECT_EQ(t.wMinute, 0);
  EXPECT_EQ(t.wSecond, 5);
  EXPECT_EQ(t.wMilliseconds, 250);  // the part below a millisecond is dropped

  time = FromTicks(0x7FFFFFFFFFFFFFFFull);
  ASSERT_TRUE(FileTimeToSystemTime(&time, &t));
  EXPECT_EQ(t.wYear, 30828);
  EXPECT_EQ(t.wMonth, 9);
  EXPECT_EQ(t.wDay, 14);
  EXPECT_EQ(t.wHour, 2);
  EXPECT_EQ(t.wMinute, 48);
  EXPECT_EQ(t.wSecond, 5);
  EXPECT_EQ(t.wMilliseconds, 477);
}

TEST(TimeConversions, EveryDayOfFourCenturiesGoesThereAndBack) {
  // From the end of 1999 to the start of 2400: the leap day of 2000 and
  // the missing ones of 2100, 2200 and 2300, 97 leap days in all.
  SYSTEMTIME first = SystemTimeAt(1999, 12, 31, 23, 59, 59, 999);
  FILETIME time;
  ASSERT_TRUE(SystemTimeToFileTime(&first, &time));
  WORD dayOfWeek = 5;  // 1999-12-31 was a Friday
  int february29 = 0;
  for (int day = 0; day < 146098; ++day) {
    SYSTEMTIME t;
    ASSERT_TRUE(FileTimeToSystemTime(&time, &t));
    ASSERT_EQ(t.wDayOfWeek, dayOfWeek);
    ASSERT_EQ(t.wHour, 23);
    ASSERT_EQ(t.wMilliseconds, 999);
    if (t.wMonth == 2 && t.wDay == 29) {
      ++february29;
      EXPECT_TRUE(t.wYear % 4 == 0 && (t.wYear % 100 != 0 || t.wYear % 400 == 0)) << t.wYear;
    }
    FILETIME back;
    ASSERT_TRUE(SystemTimeToFileTime(&t, &back));
    ASSERT_EQ(Ticks(back), Ticks(time));
    time = FromTicks(Ticks(time) + 864000000000ull);
    dayOfWeek = static_cast<WORD>((dayOfWeek + 1) % 7);
  }
  EXPECT_EQ(february29, 97);
}

TEST(TimeConversions, ImpossibleTimesAreRefused) {
  FILETIME time{123, 456};
  // A day that is no day, and the years before and after what a FILETIME holds.
  for (SYSTEMTIME t : {SystemTimeAt(2005, 2, 29), SystemTimeAt(1600, 12, 31), SystemTimeAt(30828, 1, 1)}) {
    SetLastError(0);
    EXPECT_FALSE(SystemTimeToFileTime(&t, &time)) << t.wYear << "-" << t.wMonth << "-" << t.wDay;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  EXPECT_EQ(Ticks(time), (456ull << 32) | 123);
  SYSTEMTIME leap = SystemTimeAt(2000, 2, 29, 12), ignoredDay = SystemTimeAt(2005, 3, 1);
  ignoredDay.wDayOfWeek = 6;
  EXPECT_TRUE(SystemTimeToFileTime(&leap, &time));
  EXPECT_TRUE(SystemTimeToFileTime(&ignoredDay, &time));

  SYSTEMTIME t = SystemTimeAt(2005, 3, 1);
  FILETIME beyond = FromTicks(0x8000000000000000ull);
  EXPECT_FALSE(FileTimeToSystemTime(&beyond, &t));
  EXPECT_EQ(t.wYear, 2005);
}

TEST(TimeConversions, CompareFileTimeOrdersByBothHalves) {
  const FILETIME early{0xFFFFFFFF, 1}, late{0, 2}, same{0xFFFFFFFF, 1};
  EXPECT_EQ(CompareFileTime(&early, &late), -1);
  EXPECT_EQ(CompareFileTime(&late, &early), 1);
  EXPECT_EQ(CompareFileTime(&early, &same), 0);
  const FILETIME top{0, 0x80000000}, low{0xFFFFFFFF, 0x7FFFFFFF};
  EXPECT_EQ(CompareFileTime(&top, &low), 1);  // unsigned, as Windows compares
}
