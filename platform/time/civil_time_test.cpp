#include "civil_time.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

CivilTime Civil(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0) {
  return CivilTime{year, month, day, hour, minute, second, ms};
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
  EXPECT_TRUE(IsRealCivilTime(Civil(2026, 12, 31, 23, 59, 59, 999)));
}

// Times that are no time: days past their month's end and every field out
// of its range, each named in a failure.
TEST(CivilTime, RefusesTimesThatAreNone) {
  const struct {
    const char* name;
    CivilTime time;
  } refused[] = {
      {"1900-02-29", Civil(1900, 2, 29)},          {"2100-02-29", Civil(2100, 2, 29)},
      {"2023-02-29", Civil(2023, 2, 29)},          {"2026-04-31", Civil(2026, 4, 31)},
      {"month 0", Civil(2026, 0, 1)},              {"month 13", Civil(2026, 13, 1)},
      {"month -1", Civil(2026, -1, 1)},            {"day 0", Civil(2026, 1, 0)},
      {"day 32", Civil(2026, 1, 32)},              {"hour 24", Civil(2026, 1, 1, 24)},
      {"hour -1", Civil(2026, 1, 1, -1)},          {"minute 60", Civil(2026, 1, 1, 0, 60)},
      {"second 60", Civil(2026, 1, 1, 0, 0, 60)},  {"millisecond 1000", Civil(2026, 1, 1, 0, 0, 0, 1000)},
  };
  for (const auto& c : refused) EXPECT_FALSE(IsRealCivilTime(c.time)) << c.name;
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
