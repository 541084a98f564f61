// The phone switched on with `selvane-device run`: the Today screen makes
// the due mode active at its minute (daily start on a ticked day, daily
// stop, end of a temporary switch, the calendar rule), starts the programs
// registered for a timed start, and its taps start the settings and the
// timer bar.
#include "tests/golden_pictures.h"
#include "tests/today_support.h"

namespace {

using namespace today_test;


TEST(TodaySwitch, ADailyStartWakesThePhoneAndMakesTheModeActive) {
  TodayPhone phone("2026-12-09 22:29:50");
  phone.SetDailyStart(2, 22, 30, EveryDay);
  phone.Run("wait 20000\n");

  EXPECT_EQ(phone.ActiveMode(), 2u);
  int started = JournalIndex("AppRunAtTime \"\\Program files\\Selvane\\Lumist.exe\" 2026-12-09 22:30:05");
  ASSERT_GE(started, 0);
  // The mode is applied once Lumist has woken the phone, and the next wake-up is tomorrow's.
  EXPECT_GT(JournalIndex("waveOutSetVolume"), started);
  EXPECT_GT(JournalIndex("CeRunAppAtTime \"\\Program files\\Selvane\\Lumist.exe\" 2026-12-10 22:30:05"), started);
  EXPECT_EQ(Count(JournalOf("Lumist"), "keybd_event"), 20);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "waveOutSetVolume"), 1) << "one switch for the minute";
}

TEST(TodaySwitch, OnADayNotTickedNothingIsSwitchedButTheNextWakeUpIsRegistered) {
  TodayPhone phone("2026-12-09 22:29:50");
  phone.SetDailyStart(2, 22, 30, MondayOnly);
  phone.Run("wait 20000\n");
  EXPECT_EQ(phone.ActiveMode(), 1u);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "waveOutSetVolume"), 0);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch"), 0);
  EXPECT_GE(JournalIndex("AppRunAtTime \"\\Program files\\Selvane\\Lumist.exe\" 2026-12-09 22:30:05"), 0);
  EXPECT_GE(JournalIndex("CeRunAppAtTime \"\\Program files\\Selvane\\Lumist.exe\" 2026-12-10 22:30:05"), 0);
}

TEST(TodaySwitch, ADailyStartSwitchesOnItsTickedDaysOrEveryDayWhenNoneIsTicked) {
  for (DWORD days : {WednesdayOnly, 0u}) {
    TodayPhone phone("2026-12-09 22:29:50");
    phone.SetDailyStart(2, 22, 30, days);
    phone.Run("wait 20000\n");
    EXPECT_EQ(phone.ActiveMode(), 2u) << days;
    EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch 2 \"M2\" daily start"), 1) << days;
  }
}

TEST(TodaySwitch, ADailyStopGoesBackOnlyFromTheModeThatStops) {
  TodayPhone phone("2026-12-09 06:59:55");
  phone.SetDword(ModeKey(1), "StopHour", 7);
  phone.SetDword(ModeKey(1), "StopMinutes", 0);
  phone.SetDword(ModeKey(1), "ModeBack", 4);
  phone.SetDword(ModeKey(3), "StopHour", 7);
  phone.SetDword(ModeKey(3), "StopMinutes", 1);
  phone.SetDword(ModeKey(3), "ModeBack", 5);
  phone.Run("wait 130000\n");
  // Mode 1 stopped at 7:00 into mode 4; mode 3's stop at 7:01 is not the active mode's.
  EXPECT_EQ(phone.ActiveMode(), 4u);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "waveOutSetVolume"), 1);
}

TEST(TodaySwitch, ATemporarySwitchTakesEffectAtOnceAndEndsAfterItsMinutes) {
  TodayPhone phone("2026-12-09 10:20:30");
  // The timer bar, started from the row's third picture, sets 15 minutes.
  phone.TapTimerBar("1:3 24:138", 10);
  ASSERT_EQ(phone.Dword(ModeKey(3), "StopHourTemp"), 10u);
  ASSERT_EQ(phone.Dword(ModeKey(3), "StopMinutesTemp"), 35u);
  ASSERT_EQ(phone.Dword(RootKey, "TimeSwitch"), 4u);
  platform::JournalClear();

  phone.Run("wait 2000\ndump " + phone.Path("during.json") + "\nwait 900000\ndump " + phone.Path("after.json") +
            "\n");
  nlohmann::json during = phone.Dump("during.json");
  EXPECT_EQ(ControlText(during, ModeNameLine), "M3");
  bool shown = false;
  EXPECT_EQ(ControlText(during, SwitchLine, &shown), "back to M1 at 10:35");
  EXPECT_TRUE(shown);

  // The end is an automatic switch: the second line says so for a minute.
  nlohmann::json after = phone.Dump("after.json");
  EXPECT_EQ(ControlText(after, ModeNameLine), "M1");
  EXPECT_EQ(ControlText(after, SwitchLine, &shown), "M1 since 10:35 (temporary end)");
  EXPECT_TRUE(shown);
  EXPECT_EQ(phone.ActiveMode(), 1u);
  EXPECT_EQ(phone.Dword(ModeKey(3), "StopHourTemp"), 0u);
  EXPECT_EQ(phone.Dword(ModeKey(3), "StopMinutesTemp"), 0u);
  EXPECT_EQ(phone.Dword(RootKey, "TimeSwitch"), 0u);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "waveOutSetVolume"), 2);
  EXPECT_GE(JournalIndex("AppRunAtTime \"\\Program files\\Selvane\\Lumist.exe\" 2026-12-09 10:35:05"), 0);
}

TEST(TodaySwitch, ACancelledTemporarySwitchLeavesTheModeInEffect) {
  TodayPhone phone("2026-12-09 10:20:30");
  phone.TapTimerBar("1:3 24:138", 10);
  phone.Run("wait 2000\n");
  ASSERT_EQ(phone.ActiveMode(), 3u);
  ASSERT_EQ(phone.Dword(RootKey, "TimeSwitch"), 5u);
  // The 0 picture, the last cell of the bar.
  phone.TapTimerBar("3:3 24:138", 222);
  ASSERT_EQ(phone.Dword(RootKey, "TimeSwitch"), 1u);
  phone.Run("wait 1200000\n");
  EXPECT_EQ(phone.ActiveMode(), 3u);
  EXPECT_EQ(phone.Dword(RootKey, "TimeSwitch"), 0u);
}

class TodayCalendar : public ::testing::Test {
 protected:
  TodayCalendar() : phone_("2026-12-09 09:59:50") {
    phone_.SetDword(ModeKey(1), "OutlookSwitch", 1);
    phone_.SetDword(ModeKey(1), "Status", 2);
    phone_.SetText(ModeKey(1), "Category", "Business");
    phone_.SetDword(ModeKey(1), "ModeBusy", 3);
  }
  void Add(const std::string& start, const std::string& end, const std::string& status, const std::string& category) {
    phone_.Tool({"calendar", "add", "--start", "2026-12-09 " + start, "--end", "2026-12-09 " + end, "--status",
                 status, "--category", category});
  }
  TodayPhone phone_;
};

TEST_F(TodayCalendar, ABusyBusinessAppointmentSwitchesToTheBusyModeAndBack) {
  Add("10:00", "11:00", "busy", "Business");
  phone_.Run("wait 60000\ndump " + phone_.Path("during.json") + "\nwait 3660000\n");
  EXPECT_EQ(ControlText(phone_.Dump("during.json"), ModeNameLine), "M3");
  EXPECT_EQ(phone_.ActiveMode(), 1u);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch 3 \"M3\" calendar start"), 1);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch 1 \"M1\" calendar end"), 1);
  int busy = JournalIndex("AppRunAtTime \"\\Program files\\Selvane\\Lumist.exe\" 2026-12-09 10:00:05");
  int back = JournalIndex("AppRunAtTime \"\\Program files\\Selvane\\Lumist.exe\" 2026-12-09 11:00:05");
  ASSERT_GE(busy, 0);
  ASSERT_GT(back, busy);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "waveOutSetVolume"), 2);
  // The appointment over, no calendar time is left to wake for.
  EXPECT_EQ(phone_.Dword(ModeKey(1), "StartHourOutlook"), 0u);
  EXPECT_EQ(phone_.Dword(ModeKey(1), "StopHourOutlook"), 0u);
}

TEST_F(TodayCalendar, BackToBackAppointmentsKeepTheBusyModeAfterTheFirstEnds) {
  Add("10:00", "11:00", "busy", "Business");
  Add("11:00", "12:00", "busy", "Business");
  phone_.Run("wait 3700000\ndump " + phone_.Path("second.json") + "\nwait 3600000\n");
  EXPECT_EQ(ControlText(phone_.Dump("second.json"), ModeNameLine), "M3");
  EXPECT_EQ(phone_.ActiveMode(), 1u);
}

TEST_F(TodayCalendar, TheTimesOfTheNextMatchingAppointmentAreKeptForTheScheduler) {
  Add("09:00", "09:30", "busy", "Business");       // over already
  Add("12:00", "13:00", "free", "Business");       // not busy
  Add("13:00", "14:00", "busy", "Personal");       // another category
  phone_.Tool({"calendar", "add", "--start", "2026-12-09 15:15", "--end", "2026-12-09 16:45", "--category", "Holiday",
               "--category", "business"});
  phone_.Run("wait 1000\n");
  EXPECT_EQ(phone_.Dword(ModeKey(1), "StartHourOutlook"), 15u);
  EXPECT_EQ(phone_.Dword(ModeKey(1), "StartMinutesOutlook"), 15u);
  EXPECT_EQ(phone_.Dword(ModeKey(1), "StopHourOutlook"), 16u);
  EXPECT_EQ(phone_.Dword(ModeKey(1), "StopMinutesOutlook"), 45u);
  EXPECT_GE(JournalIndex("CeRunAppAtTime \"\\Program files\\Selvane\\Lumist.exe\" 2026-12-09 15:15:05"), 0);
  EXPECT_EQ(phone_.ActiveMode(), 1u);
}

TEST_F(TodayCalendar, TheFourTimesAreWrittenTogetherZerosIncluded) {
  Add("12:00", "13:30", "busy", "Business");
  phone_.Run("wait 1000\n");
  EXPECT_EQ(phone_.Dword(ModeKey(1), "StartHourOutlook"), 12u);
  EXPECT_EQ(phone_.Dword(ModeKey(1), "StartMinutesOutlook"), 0u);
  EXPECT_EQ(phone_.Dword(ModeKey(1), "StopHourOutlook"), 13u);
  EXPECT_EQ(phone_.Dword(ModeKey(1), "StopMinutesOutlook"), 30u);
  // A mode without the rule and without calendar times gets none.
  EXPECT_EQ(phone_.Dword(ModeKey(2), "StartHourOutlook"), std::nullopt);
}

TEST_F(TodayCalendar, AnAppointmentGoingOnWhenThePhoneComesOnSwitchesAtOnce) {
  Add("09:30", "10:30", "busy", "Business");
  phone_.Run("wait 1000\n");
  EXPECT_EQ(phone_.ActiveMode(), 3u);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch 3 \"M3\" calendar start (missed 09:30)"), 1);
}

TEST_F(TodayCalendar, AnyStatusAndAnyCategoryMatchEveryAppointment) {
  phone_.SetDword(ModeKey(1), "Status", 4);
  phone_.SetText(ModeKey(1), "Category", "N/A");
  Add("10:00", "10:30", "tentative", "Ideas");
  phone_.Run("wait 60000\n");
  EXPECT_EQ(phone_.ActiveMode(), 3u);
}

TEST(TodayScreen, TapsStartTheSettingsAndTheTimerBarBelowTheItem) {
  TodayPhone phone("2026-12-09 12:00:00");
  // The mode's name, then the third picture of the row (window y 84 to 112, 48 pixels a cell).
  phone.Run("click " + std::to_string(ModeNameLine) + "\ntap 120 126\n");
  auto today = JournalOf("SelvaneToday");
  EXPECT_EQ(Count(today, "CreateProcessW \"\\Program files\\Selvane\\SelvaneSettings.exe\" \"\""), 1);
  EXPECT_EQ(Count(today, "CreateProcessW \"\\Program files\\Selvane\\SelvaneTimer.exe\" \"1:3 24:152\""), 1);
}

TEST(TodayScreen, ARegistrationWhoseTimePassedWhileThePhoneWasOffStartsAtOnce) {
  TodayPhone phone("2026-12-09 12:00:00");
  // Lumist registered for 9:00 by a run of the phone at 8:00.
  phone.Tool({"clock", "set", "2026-12-09 08:00:00", "--frozen"});
  phone.SetDword(ModeKey(2), "StartHour", 9);
  phone.SetDword(ModeKey(2), "StartMinutes", 0);
  phone.Run("");
  ASSERT_GE(JournalIndex("CeRunAppAtTime \"\\Program files\\Selvane\\Lumist.exe\" 2026-12-09 09:00:05"), 0);
  phone.Tool({"clock", "set", "2026-12-09 12:00:00", "--frozen"});
  platform::JournalClear();
  phone.Run("wait 1000\n");
  EXPECT_GE(JournalIndex("AppRunAtTime \"\\Program files\\Selvane\\Lumist.exe\" 2026-12-09 12:00:00"), 0);
  // Woken late, the 9:00 start is not due at 12:00.
  EXPECT_EQ(phone.ActiveMode(), 1u);
}

TEST(TodayScreen, HeadlessWithoutAScriptThePhoneIsSwitchedOffAtOnceAndSaysSo) {
  TodayPhone phone("2026-12-09 12:00:00");
  ProgramResult result = RunProgram("selvane-device", {"run"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find("no script (SELVANE_INPUT)"), std::string::npos) << result.err;
}

TEST(TodayScreen, LooksLikeItsGoldenPictureWithATemporarySwitchPending) {
  TodayPhone phone("2026-12-09 10:20:30");
  phone.SetText(ModeKey(1), "Mode Name", "Home");
  phone.SetText(ModeKey(3), "Mode Name", "Office");
  phone.TapTimerBar("1:3 24:138", 70);
  phone.Run("wait 1000\nscreenshot " + phone.Path("today.png") + "\n");
  ExpectGolden(phone.Path("today.png"), "today_screen_240x320");
}

TEST(TodayScreen, TheSecondLineNamesTheNextSwitchOfTheDayInLandscapeToo) {
  TodayPhone phone("2026-12-09 18:00:00", Store::Prepared, 320, 240);
  phone.SetDailyStart(2, 22, 30, 0);
  phone.SetDailyStart(3, 7, 0, 0);  // tomorrow's
  // The active mode's picture is marked in the row (64 pixels a cell).
  phone.Run("wait 1000\nscreenshot " + phone.Path("today.png") + "\ndump " + phone.Path("today.json") + "\n");
  bool shown = false;
  EXPECT_EQ(ControlText(phone.Dump("today.json"), SwitchLine, &shown), "Night at 22:30");
  EXPECT_TRUE(shown);
  ExpectGolden(phone.Path("today.png"), "today_screen_320x240");

  // Night's start, missed while the phone was off, is caught up and said for
  // a minute; then, nothing being left today, there is no second line.
  phone.SetClock("2026-12-09 23:00:00");
  phone.Run("wait 1000\ndump " + phone.Path("late.json") + "\nwait 61000\ndump " + phone.Path("later.json") + "\n");
  EXPECT_EQ(phone.ActiveMode(), 2u);
  EXPECT_EQ(ControlText(phone.Dump("late.json"), SwitchLine, &shown), "Night since 23:00 (daily start, missed 22:30)");
  EXPECT_TRUE(shown);
  ControlText(phone.Dump("later.json"), SwitchLine, &shown);
  EXPECT_FALSE(shown);
}

}  // namespace

namespace {

using namespace today_test;

// The README's daily-switch example, as written, on a fresh device.
TEST(TodayReadme, TheDailySwitchExampleSwitchesOnAFreshDevice) {
  TodayPhone phone("2026-12-09 22:29:50", Store::Fresh);
  phone.Run("");
  phone.SetDword(ModeKey(2), "StartHour", 22);
  phone.SetDword(ModeKey(2), "StartMinutes", 30);
  phone.Run("wait 20000\n");
  std::string journal = phone.Tool({"journal"}).out;
  EXPECT_NE(journal.find("AppRunAtTime \"\\Program files\\Selvane\\Lumist.exe\" 2026-12-09 22:30:05"),
            std::string::npos)
      << journal;
  EXPECT_EQ(phone.ActiveMode(), 2u);
  // The frozen clock stays where it was set; the run's lines are later.
  EXPECT_EQ(phone.Tool({"clock"}).out.rfind("2026-12-09 22:29:50", 0), 0u);
}

}  // namespace
