// Switches whose time passed while the phone was off: the phone coming on
// makes the mode in effect at the end active once, marked as made late, and
// a mode picked by hand is never undone by an earlier time.
#include "tests/today_support.h"

namespace {

using namespace today_test;

TEST(TodayCatchUp, AStartMissedWhileThePhoneWasOffIsMadeWhenItComesOn) {
  TodayPhone phone("2026-12-09 20:00:00", Store::Prepared);
  phone.SetDailyStart(2, 22, 30, 0);
  phone.SetClock("2026-12-09 23:00:00");
  phone.Run("wait 1000\n");
  EXPECT_EQ(phone.ActiveMode(), 2u);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch 2 \"Night\" daily start (missed 22:30)"), 1);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch"), 1);
}

TEST(TodayCatchUp, AModePickedByHandIsKeptOverAnEarlierStart) {
  TodayPhone phone("2026-12-09 20:00:00", Store::Prepared);
  phone.SetDailyStart(2, 22, 30, 0);
  phone.SetClock("2026-12-09 22:45:00");
  phone.Run(TodayPhone::TapPicture(3));
  ASSERT_EQ(phone.ActiveMode(), 3u);
  platform::JournalClear();
  phone.SetClock("2026-12-09 23:00:00");
  phone.Run("wait 1000\n");
  EXPECT_EQ(phone.ActiveMode(), 3u);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch"), 0);
}

TEST(TodayCatchUp, MissedSwitchesWeighInTimeOrderWithinTheLastDay) {
  TodayPhone phone("2026-12-09 12:00:00");
  // The item last switched two days ago; only the last 24 hours count.
  phone.SetText(RootKey, "LastSwitchTime", "2026-12-07 20:00:00");
  phone.SetDailyStart(2, 22, 30, 0);                // yesterday 22:30
  phone.SetDailyStart(3, 8, 0, 0);                  // today 08:00, later: wins
  phone.SetDailyStart(5, 11, 0, MondayOnly);  // not today
  phone.Run("wait 1000\n");
  EXPECT_EQ(phone.ActiveMode(), 3u);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch 3 \"M3\" daily start (missed 08:00)"), 1);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch"), 1) << "made once";
}

TEST(TodayCatchUp, AClockSetBackBeforeTheLastSwitchStillSwitchesOnTime) {
  TodayPhone phone("2026-12-09 20:00:00", Store::Prepared);
  phone.SetDailyStart(2, 10, 30, 0);
  phone.SetClock("2026-12-09 10:29:50");
  phone.Run("wait 20000\n");
  EXPECT_EQ(phone.ActiveMode(), 2u);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch 2 \"Night\" daily start"), 1);
}

TEST(TodayCatchUp, AStoreSetUpByHandCatchesUpNothing) {
  TodayPhone phone("2026-12-09 23:00:00");
  phone.SetDailyStart(2, 22, 30, 0);
  phone.Run("wait 1000\n");
  EXPECT_EQ(phone.ActiveMode(), 1u);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch"), 0);
}

TEST(TodayCatchUp, ATemporarySwitchThatEndedWhileThePhoneWasOffGoesBack) {
  TodayPhone phone("2026-12-09 10:00:00", Store::Prepared);
  phone.TapTimerBar("4:3 24:138", 10);  // Office for 15 minutes
  phone.Run("wait 1000\n");
  ASSERT_EQ(phone.ActiveMode(), 3u);
  platform::JournalClear();
  phone.SetClock("2026-12-09 12:00:00");
  phone.Run("wait 1000\n");
  EXPECT_EQ(phone.ActiveMode(), 4u);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch 4 \"Home\" temporary end (missed 10:15)"), 1);
  EXPECT_EQ(phone.Dword(ModeKey(3), "StopHourTemp"), 0u);
  EXPECT_EQ(phone.Dword(RootKey, "TimeSwitch"), 0u);
}

}  // namespace
