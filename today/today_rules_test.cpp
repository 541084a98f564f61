// The item's rules on their own: the days of "Days", the categories of an
// appointment, and how the switches due at one minute weigh against each other.
#include <emulated_calendar.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/testing/device_fixture.h"
#include "store/mode_keys.h"
#include "store/mode_store.h"
#include "store/registry_values.h"
#include "today/calendar_rule.h"
#include "today/last_switch.h"
#include "today/minute_clock.h"
#include "today/mode_values.h"
#include "today/switch_weighing.h"

namespace {

TEST(DayTicked, EachDayHasItsOwnDigitMondayHighest) {
  const DWORD digits[7] = {0x1, 0x1000000, 0x100000, 0x10000, 0x1000, 0x100, 0x10};  // Sunday first
  for (WORD day = 0; day < 7; ++day) {
    for (WORD other = 0; other < 7; ++other) EXPECT_EQ(DayTicked(digits[day], other), day == other) << day << other;
    EXPECT_TRUE(DayTicked(0x1111111, day));
    EXPECT_FALSE(DayTicked(0, day));
  }
  // A digit other than 1 is not "on".
  EXPECT_FALSE(DayTicked(0x2, 0));
}

Appointment WithCategories(const char16_t* categories, DWORD status = APPOINTMENT_BUSY) {
  Appointment appointment = {};
  appointment.Status = status;
  wcsncpy(appointment.Categories, categories, APPOINTMENT_CATEGORIES_SIZE);
  return appointment;
}

TEST(AppointmentMatches, CategoriesAreMatchedOneByOneWithoutRegardToCase) {
  Appointment listed = WithCategories(u"Holiday,  Business , Personal");
  EXPECT_TRUE(AppointmentMatches(&listed, APPOINTMENT_BUSY, u"business"));
  EXPECT_TRUE(AppointmentMatches(&listed, APPOINTMENT_BUSY, u"Personal"));
  EXPECT_FALSE(AppointmentMatches(&listed, APPOINTMENT_BUSY, u"Busi"));
  EXPECT_FALSE(AppointmentMatches(&listed, APPOINTMENT_BUSY, u"Holiday, Business"));
  Appointment none = WithCategories(u"");
  EXPECT_FALSE(AppointmentMatches(&none, APPOINTMENT_BUSY, u""));
  EXPECT_TRUE(AppointmentMatches(&none, APPOINTMENT_BUSY, CATEGORY_ANY));
}

TEST(AppointmentMatches, StatusMatchesExactlyUnlessAnyStatusIsAsked) {
  Appointment tentative = WithCategories(u"Business", APPOINTMENT_TENTATIVE);
  EXPECT_FALSE(AppointmentMatches(&tentative, APPOINTMENT_BUSY, u"Business"));
  EXPECT_TRUE(AppointmentMatches(&tentative, APPOINTMENT_TENTATIVE, u"Business"));
  EXPECT_TRUE(AppointmentMatches(&tentative, STATUS_ANY, u"Business"));
}

class DueSwitch : public testing_support::DeviceTest {
 protected:
  void Set(DWORD mode, const WCHAR* name, DWORD value) {
    WCHAR path[MODE_KEY_PATH_SIZE];
    ModeKeyPath(mode, path);
    HKEY key;
    DWORD disposition;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    WriteDwordValue(key, name, value);
    RegCloseKey(key);
  }
  void SetPair(DWORD mode, const WCHAR* hourName, const WCHAR* minuteName, DWORD hour, DWORD minute) {
    Set(mode, hourName, hour);
    Set(mode, minuteName, minute);
  }
  DWORD Get(DWORD mode, const WCHAR* name) {
    WCHAR path[MODE_KEY_PATH_SIZE];
    ModeKeyPath(mode, path);
    HKEY key;
    DWORD value = 0xFFFFFFFF;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &key) == ERROR_SUCCESS) {
      ReadDwordValue(key, name, &value);
      RegCloseKey(key);
    }
    return value;
  }
  // Wednesday 9 December 2026 at hh:mm.
  static SYSTEMTIME At(WORD hour, WORD minute) {
    SYSTEMTIME time = {2026, 12, 3, 9, hour, minute, 5, 0};
    return time;
  }
  // The mode in effect after the switches of `now`, weighed over the store as it is.
  static DWORD Due(const SYSTEMTIME* now, DWORD active, SwitchReason* reason = nullptr) {
    SwitchValues values;
    ReadSwitchValues(&values);
    WeighedMinute weighed;
    WeighMinute(&values, now, active, TRUE, &weighed);
    if (reason) *reason = weighed.Reason;
    return weighed.Mode;
  }
};

TEST_F(DueSwitch, NothingDueKeepsTheActiveModeAndMidnightIsNoTime) {
  SYSTEMTIME midnight = At(0, 0);
  EXPECT_EQ(Due(&midnight, 2), 2u);
  SYSTEMTIME noon = At(12, 0);
  Set(4, START_HOUR_VALUE, 12);
  EXPECT_EQ(Due(&noon, 2), 4u);
  EXPECT_EQ(Due(&midnight, 2), 2u) << "(0, 0) of the other modes is no start";
}

TEST_F(DueSwitch, AStartOverridesTheActiveModesStopOfTheSameMinute) {
  SYSTEMTIME now = At(7, 0);
  SetPair(1, STOP_HOUR_VALUE, STOP_MINUTES_VALUE, 7, 0);
  Set(1, MODE_BACK_VALUE, 3);
  SwitchReason reason;
  EXPECT_EQ(Due(&now, 1, &reason), 3u);
  EXPECT_EQ(reason, SWITCH_DAILY_STOP);
  EXPECT_EQ(Due(&now, 2), 2u) << "the stop belongs to mode 1 only";
  SetPair(5, START_HOUR_VALUE, START_MINUTES_VALUE, 7, 0);
  EXPECT_EQ(Due(&now, 1, &reason), 5u);
  EXPECT_EQ(reason, SWITCH_DAILY_START);
  Set(5, DAYS_VALUE, 0x1000000);  // Monday only
  EXPECT_EQ(Due(&now, 1), 3u);
  Set(5, DAYS_VALUE, 0);  // no day ticked: every day
  EXPECT_EQ(Due(&now, 1), 5u);
}

TEST_F(DueSwitch, TheCalendarRuleActsOnTheModeThatTheDailySwitchesLeave) {
  SYSTEMTIME now = At(10, 0);
  Set(2, OUTLOOK_SWITCH_VALUE, 1);
  Set(2, MODE_BUSY_VALUE, 4);
  SetPair(2, START_HOUR_OUTLOOK_VALUE, START_MINUTES_OUTLOOK_VALUE, 10, 0);
  SwitchReason reason;
  EXPECT_EQ(Due(&now, 2, &reason), 4u);
  EXPECT_EQ(reason, SWITCH_CALENDAR_START);
  EXPECT_EQ(Due(&now, 1), 1u);
  SetPair(2, START_HOUR_VALUE, START_MINUTES_VALUE, 10, 0);
  EXPECT_EQ(Due(&now, 1), 4u) << "mode 2 starts, then its appointment begins";
  Set(2, OUTLOOK_SWITCH_VALUE, 0);
  EXPECT_EQ(Due(&now, 1), 2u);
}

TEST_F(DueSwitch, TheEndOfATemporarySwitchWinsOverADailyStart) {
  SYSTEMTIME now = At(10, 35);
  SetPair(3, STOP_HOUR_TEMP_VALUE, STOP_MINUTES_TEMP_VALUE, 10, 35);
  Set(3, MODE_BACK_TEMP_VALUE, 1);
  SetPair(5, START_HOUR_VALUE, START_MINUTES_VALUE, 10, 35);
  SwitchValues values;
  ReadSwitchValues(&values);
  WeighedMinute weighed;
  WeighMinute(&values, &now, 3, TRUE, &weighed);
  EXPECT_EQ(weighed.Mode, 1u);
  EXPECT_EQ(weighed.Reason, SWITCH_TEMPORARY_END);
  EXPECT_TRUE(weighed.TemporaryEnded);
  values.Temporary.Pending = FALSE;
  WeighMinute(&values, &now, 3, TRUE, &weighed);
  EXPECT_EQ(weighed.Mode, 5u) << "once ended, only the start is left";
}

TEST_F(DueSwitch, SwitchTimesAreListedOnceInOrderWithoutNoTimes) {
  SetPair(1, START_HOUR_VALUE, START_MINUTES_VALUE, 22, 30);
  SetPair(2, STOP_HOUR_VALUE, STOP_MINUTES_VALUE, 7, 0);
  SetPair(3, START_HOUR_VALUE, START_MINUTES_VALUE, 22, 30);
  SetPair(4, START_HOUR_VALUE, START_MINUTES_VALUE, 0, 30);
  SetPair(5, START_HOUR_VALUE, START_MINUTES_VALUE, 24, 0);  // no time of day
  SetPair(5, START_HOUR_OUTLOOK_VALUE, START_MINUTES_OUTLOOK_VALUE, 9, 0);  // rule off
  SwitchValues values;
  ReadSwitchValues(&values);
  DWORD times[SWITCH_TIMES_CAPACITY];
  ASSERT_EQ(ListSwitchTimes(&values, times), 3);
  EXPECT_EQ(times[0], 30u);
  EXPECT_EQ(times[1], 7u * 60);
  EXPECT_EQ(times[2], 22u * 60 + 30);
}

TEST_F(DueSwitch, TheNextSwitchOfTheDayIsTheFirstThatChangesTheMode) {
  SYSTEMTIME now = At(18, 0);
  SetPair(1, START_HOUR_VALUE, START_MINUTES_VALUE, 19, 0);   // mode 1 is active already
  SetPair(2, START_HOUR_VALUE, START_MINUTES_VALUE, 22, 30);
  SetPair(3, START_HOUR_VALUE, START_MINUTES_VALUE, 7, 0);    // tomorrow's
  Set(2, DAYS_VALUE, 0x1000000);                               // Monday only
  SetPair(4, START_HOUR_VALUE, START_MINUTES_VALUE, 23, 15);
  SwitchValues values;
  ReadSwitchValues(&values);
  DWORD mode = 0, hour = 0, minute = 0;
  ASSERT_TRUE(FindNextSwitchToday(&values, &now, 1, &mode, &hour, &minute));
  EXPECT_EQ(mode, 4u);
  EXPECT_EQ(hour, 23u);
  EXPECT_EQ(minute, 15u);
  SYSTEMTIME late = At(23, 15);
  EXPECT_FALSE(FindNextSwitchToday(&values, &late, 1, &mode, &hour, &minute)) << "nothing left today";
}

class LastSwitch : public testing_support::DeviceTest {
 protected:
  // The stored text, or an empty one when there is none.
  static std::u16string StoredText() {
    HKEY key;
    WCHAR text[64] = {};
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &key) != ERROR_SUCCESS) return u"";
    DWORD type = REG_NONE;
    DWORD size = sizeof(text) - sizeof(WCHAR);
    RegQueryValueExW(key, LAST_SWITCH_TIME_VALUE, nullptr, &type, (LPBYTE)text, &size);
    RegCloseKey(key);
    return text;
  }
};

TEST_F(LastSwitch, ATimeWrittenIsReadBackAndOutOfRangeFieldsAreWrittenWholeButNotTaken) {
  SYSTEMTIME time = {2026, 12, 3, 9, 22, 30, 5, 0};
  WriteLastSwitch(&time);
  EXPECT_EQ(StoredText(), u"2026-12-09 22:30:05");
  DWORD minute = 0;
  ASSERT_TRUE(ReadLastSwitch(&minute));
  EXPECT_EQ(minute, MinuteIndex(&time));

  // Every field at its widest: the longest text the format can produce.
  SYSTEMTIME widest = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
  WriteLastSwitch(&widest);
  EXPECT_EQ(StoredText(), u"65535-65535-65535 65535:65535:65535");
  EXPECT_FALSE(ReadLastSwitch(&minute));
}

}  // namespace
