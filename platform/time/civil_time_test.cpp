#include "civil_time.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

CivilTime Civil(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0) {
  CivilTime t;
  t.year = year;
  t.month = month;
  t.day = day;
  t.hour = hour;
  t.minute = minute;
  t.second = second;
  t.millisecond = ms;
  return t;
}

TEST(CivilTime, FileTimeTicksCountFrom1601) {
  EXPECT_EQ(FileTimeTicksOf(TimeOfCivil(Civil(1601, 1, 1))), 0);
  EXPECT_EQ(FileTimeTicksOf(TimeOfDeviceMs(0)), 116444736000000000LL);
  EXPECT_EQ(FileTimeTicksOf(TimeOfDeviceMs(1)), 116444736000010000LL);
  EXPECT_EQ(TimeOfFileTimeTicks(116444736000000000LL).time_since_epoch().count(), 0);
}

TEST(CivilTime, KeepsTheGregorianLeapYears) {
  EXPECT_TRUE(IsRealCivilTime(Civil(2000, 2, 29)));
  EXPECT_TRUE(IsRealCivilTime(Civil(2024, 2, 29)));
  EXPECT_FALSE(IsRealCivilTime(Civil(1900, 2, 29)));
  EXPECT_FALSE(IsRealCivilTime(Civil(2100, 2, 29)));
  EXPECT_FALSE(IsRealCivilTime(Civil(2023, 2, 29)));
  EXPECT_FALSE(IsRealCivilTime(Civil(2026, 4, 31)));
  EXPECT_TRUE(IsRealCivilTime(Civil(2026, 12, 31, 23, 59, 59, 999)));
}

TEST(CivilTime, RefusesFieldsOutOfRange) {
  EXPECT_FALSE(IsRealCivilTime(Civil(2026, 0, 1)));
  EXPECT_FALSE(IsRealCivilTime(Civil(2026, 13, 1)));
  EXPECT_FALSE(IsRealCivilTime(Civil(2026, 1, 0)));
  EXPECT_FALSE(IsRealCivilTime(Civil(2026, 1, 32)));
  EXPECT_FALSE(IsRealCivilTime(Civil(2026, 1, 1, 24)));
  EXPECT_FALSE(IsRealCivilTime(Civil(2026, 1, 1, 0, 60)));
  EXPECT_FALSE(IsRealCivilTime(Civil(2026, 1, 1, 0, 0, 60)));
  EXPECT_FALSE(IsRealCivilTime(Civil(2026, 1, 1, 0, 0, 0, 1000)));
  EXPECT_FALSE(IsRealCivilTime(Civil(2026, -1, 1)));
  EXPECT_FALSE(IsRealCivilTime(Civil(2026, 1, 1, -1)));
}

TEST(CivilTime, SplitsAnInstantIntoDateTimeAndWeekday) {
  const CivilTime t = CivilTimeOf(TimeOfCivil(Civil(2026, 12, 10, 18, 5, 7, 250)));
  EXPECT_EQ(t.year, 2026);
  EXPECT_EQ(t.month, 12);
  EXPECT_EQ(t.day, 10);
  EXPECT_EQ(t.hour, 18);
  EXPECT_EQ(t.minute, 5);
  EXPECT_EQ(t.second, 7);
  EXPECT_EQ(t.millisecond, 250);
  EXPECT_EQ(t.weekday, 4);  // a Thursday
  EXPECT_EQ(CivilTimeOf(TimeOfCivil(Civil(1601, 1, 1))).weekday, 1);  // a Monday
}

TEST(CivilTime, AnInstantBefore1970FallsOnThePreviousDay) {
  const CivilTime t = CivilTimeOf(TimeOfDeviceMs(-1));
  EXPECT_EQ(t.year, 1969);
  EXPECT_EQ(t.month, 12);
  EXPECT_EQ(t.day, 31);
  EXPECT_EQ(t.hour, 23);
  EXPECT_EQ(t.second, 59);
  EXPECT_EQ(t.millisecond, 999);
}

}  // namespace
}  // namespace platform
