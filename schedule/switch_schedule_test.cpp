// ScheduleNextSwitch on a device with a set clock: which wake-up it
// registers for which stored switch times.
#include "schedule/switch_schedule.h"

#include <gtest/gtest.h>

#include "platform/kernel/clock.h"
#include "platform/kernel/journal.h"
#include "platform/shell/timed_starts.h"
#include "platform/testing/device_fixture.h"

namespace {

class SwitchScheduleTest : public testing_support::DeviceTest {
 protected:
  void SetNow(const std::string& text) {
    int64_t ms = 0;
    ASSERT_TRUE(platform::ParseLocalTime(text, &ms));
    platform::SetDeviceClock(ms, true);
    platform::RestartProgramClock();
  }
  void SetValue(int mode, const char16_t* name, DWORD value) {
    std::u16string path = u"\\Software\\Microsoft\\Today\\Items\\Selvane\\Mode " + std::u16string(1, u'0' + mode);
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
  }
  void SetPair(int mode, const char16_t* hourName, const char16_t* minuteName, DWORD hour, DWORD minute) {
    SetValue(mode, hourName, hour);
    SetValue(mode, minuteName, minute);
  }
  // The registered wake-up of Lumist, or "" when none.
  std::string WakeUp(const std::string& program = "\\Program files\\Selvane\\Lumist.exe") {
    EXPECT_EQ(ScheduleNextSwitch(), 0);
    for (const auto& start : platform::TimedStarts())
      if (start.path == program) return start.time;
    return "";
  }
};

SYSTEMTIME Date(WORD year, WORD month, WORD day, WORD dayOfWeek) {
  SYSTEMTIME t{};
  t.wYear = year;
  t.wMonth = month;
  t.wDay = day;
  t.wDayOfWeek = dayOfWeek;
  return t;
}

}  // namespace

TEST_F(SwitchScheduleTest, NothingIsRegisteredWithoutAnySwitchTime) {
  SetNow("2005-03-01 12:00:00");
  SetPair(1, u"StartHour", u"StartMinutes", 0, 0);
  SetPair(2, u"StopHour", u"StopMinutes", 0, 0);
  EXPECT_EQ(WakeUp(), "");
  EXPECT_TRUE(platform::JournalRead().empty());
}

TEST_F(SwitchScheduleTest, EarliestLaterTimeOfAnyKindAndModeWinsToday) {
  SetNow("2005-03-01 06:59:30");
  SetPair(3, u"StopHour", u"StopMinutes", 7, 0);
  SetPair(1, u"StartHour", u"StartMinutes", 7, 30);
  EXPECT_EQ(WakeUp(), "2005-03-01 07:00:05");

  SetNow("2005-03-01 18:00:00");
  SetPair(2, u"StopHourTemp", u"StopMinutesTemp", 18, 45);
  SetPair(4, u"StartHour", u"StartMinutes", 19, 0);
  EXPECT_EQ(WakeUp(), "2005-03-01 18:45:05");

  SetPair(5, u"StartHourOutlook", u"StartMinutesOutlook", 18, 20);
  EXPECT_EQ(WakeUp(), "2005-03-01 18:20:05");
  SetPair(5, u"StopHourOutlook", u"StopMinutesOutlook", 18, 10);
  EXPECT_EQ(WakeUp(), "2005-03-01 18:10:05");

  // Modes 0 and 6 are not the user's modes; an hour without its minute is on the hour.
  SetPair(0, u"StartHour", u"StartMinutes", 18, 1);
  SetValue(6, u"StartHour", 18);
  SetValue(1, u"StopHour", 18);
  SetNow("2005-03-01 17:30:00");
  EXPECT_EQ(WakeUp(), "2005-03-01 18:00:05");
  EXPECT_EQ(platform::JournalRead().back().text,
            "CeRunAppAtTime \"\\Program files\\Selvane\\Lumist.exe\" 2005-03-01 18:00:05");
}

TEST_F(SwitchScheduleTest, ATimeNotLaterThanNowGoesToTomorrow) {
  SetNow("2005-03-01 07:00:40");
  SetPair(1, u"StartHour", u"StartMinutes", 7, 0);
  SetPair(2, u"StartHour", u"StartMinutes", 0, 30);  // 00:30 is a time; only 00:00 is none
  EXPECT_EQ(WakeUp(), "2005-03-02 00:30:05");
  SetPair(2, u"StartHour", u"StartMinutes", 0, 0);
  EXPECT_EQ(WakeUp(), "2005-03-02 07:00:05");
}

TEST_F(SwitchScheduleTest, TomorrowCrossesMonthsYearsAndLeapDays) {
  SetPair(1, u"StartHour", u"StartMinutes", 6, 15);
  const std::pair<const char*, const char*> cases[] = {
      {"2005-03-10 23:59:00", "2005-03-11 06:15:05"}, {"2005-01-31 22:00:00", "2005-02-01 06:15:05"},
      {"2005-04-30 22:00:00", "2005-05-01 06:15:05"}, {"2005-02-28 22:00:00", "2005-03-01 06:15:05"},
      {"2004-02-28 22:00:00", "2004-02-29 06:15:05"}, {"2004-02-29 22:00:00", "2004-03-01 06:15:05"},
      {"2005-12-31 22:00:00", "2006-01-01 06:15:05"}, {"2000-02-28 22:00:00", "2000-02-29 06:15:05"},
      {"2100-02-28 22:00:00", "2100-03-01 06:15:05"},
  };
  for (const auto& [now, expected] : cases) {
    SetNow(now);
    EXPECT_EQ(WakeUp(), expected) << "now " << now;
  }
}

TEST_F(SwitchScheduleTest, AdvancingADayMovesTheWeekdayAndKeepsBadMonths) {
  SYSTEMTIME saturday = Date(2005, 12, 31, 6);
  AdvanceOneDay(&saturday);
  EXPECT_EQ(saturday.wYear, 2006);
  EXPECT_EQ(saturday.wMonth, 1);
  EXPECT_EQ(saturday.wDay, 1);
  EXPECT_EQ(saturday.wDayOfWeek, 0);
  SYSTEMTIME broken = Date(2005, 13, 5, 2);
  AdvanceOneDay(&broken);
  EXPECT_EQ(broken.wMonth, 13);
  EXPECT_EQ(broken.wDay, 5);
}

TEST_F(SwitchScheduleTest, WakeKeeperIsStartedFromTheInstallFolder) {
  SetNow("2005-03-01 08:00:00");
  SetPair(1, u"StartHour", u"StartMinutes", 9, 0);
  std::u16string dll = u"\\Storage Card\\Apps\\Selvane.dll";
  HKEY root;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"\\Software\\Microsoft\\Today\\Items\\Selvane", 0, 0, &root),
            ERROR_SUCCESS);
  RegSetValueExW(root, u"DLL", 0, REG_SZ, reinterpret_cast<const BYTE*>(dll.c_str()),
                 static_cast<DWORD>((dll.size() + 1) * 2));
  RegCloseKey(root);
  EXPECT_EQ(WakeUp("\\Storage Card\\Apps\\Lumist.exe"), "2005-03-01 09:00:05");
}

TEST_F(SwitchScheduleTest, TimesOfNoDayArePassedOverWithOneLineAndNoStaleWakeUp) {
  SetNow("2005-03-01 08:00:00");
  SetPair(2, u"StartHour", u"StartMinutes", 9, 30);
  EXPECT_EQ(WakeUp(), "2005-03-01 09:30:05");

  // An imported hour 99 and minutes -5: the valid time of another mode still counts.
  SetPair(2, u"StartHour", u"StartMinutes", 99, 7);
  SetPair(2, u"StopHour", u"StopMinutes", 10, DWORD(-5));
  SetPair(3, u"StopHour", u"StopMinutes", 11, 0);
  platform::JournalClear();
  EXPECT_EQ(WakeUp(), "2005-03-01 11:00:05");
  std::vector<platform::JournalLine> lines = platform::JournalRead();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].text.rfind("OutputDebugString Selvane: Mode 2 \"", 0), 0u) << lines[0].text;
  EXPECT_NE(lines[0].text.find("switch time 99:07 is no time of day, passed over"), std::string::npos)
      << lines[0].text;
  EXPECT_EQ(lines[1].text, "CeRunAppAtTime \"\\Program files\\Selvane\\Lumist.exe\" 2005-03-01 11:00:05");

  // With no time of day left, the earlier registration is taken back.
  SetPair(3, u"StopHour", u"StopMinutes", 0, 0);
  EXPECT_EQ(WakeUp(), "");
  for (const platform::JournalLine& line : platform::JournalRead())
    EXPECT_EQ(line.text.find("failed"), std::string::npos) << line.text;
}
