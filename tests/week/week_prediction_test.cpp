// `selvane-device week` against the phone itself: a prepared phone is
// switched on headless for seven days of virtual time, and the switches the
// Today item journals are, line by line, the changes `week` printed for the
// same span beforehand.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "today_support.h"

namespace {

using namespace today_test;

// The phone comes on on a Wednesday morning.
const char* const Start = "2026-12-09 06:00";
const char* const SevenDays = "wait 604800000\n";

// "2026-12-09 22:30 2 \"M2\" daily start" from a change line of `week`
// ("Wed 2026-12-09 22:30  2 \"M2\"  daily start").
std::string ChangeOfWeekLine(const std::string& line) {
  std::string rest = line.substr(4);
  std::string when = rest.substr(0, 16), what = rest.substr(18);
  size_t gap = what.find("  ");
  return when + " " + what.substr(0, gap) + " " + what.substr(gap + 2);
}

// The changes `week` prints: the lines after the first, up to the rules.
std::vector<std::string> PredictedChanges(const std::string& out) {
  std::vector<std::string> changes;
  std::istringstream lines(out);
  std::string line;
  std::getline(lines, line);
  while (std::getline(lines, line) && line != "never takes effect:") changes.push_back(ChangeOfWeekLine(line));
  return changes;
}

// The item's ModeSwitch lines, with the minute of the phone's clock.
std::vector<std::string> JournalledChanges() {
  std::vector<std::string> changes;
  for (const auto& line : platform::JournalRead())
    if (line.program == "SelvaneToday" && line.text.rfind("ModeSwitch ", 0) == 0)
      changes.push_back(line.time.substr(0, 16) + " " + line.text.substr(11));
  return changes;
}

// Prints `week` for the seven days ahead, switches the phone on for them,
// and compares; returns the printed changes for the store's own checks.
std::vector<std::string> PredictionHolds(TodayPhone& phone) {
  std::vector<std::string> predicted = PredictedChanges(phone.Tool({"week"}).out);
  phone.Run(SevenDays);
  EXPECT_EQ(JournalledChanges(), predicted);
  return predicted;
}

TEST(WeekPrediction, DailyRulesOnChosenWeekDays) {
  TodayPhone phone(Start);
  phone.SetDailyStart(2, 22, 30, EveryDay);
  phone.SetDword(ModeKey(2), "StopHour", 7);
  phone.SetDword(ModeKey(2), "ModeBack", 1);
  phone.SetDailyStart(3, 8, 0, 0x1111100);  // Monday to Friday
  phone.SetDword(ModeKey(3), "StopHour", 17);
  phone.SetDword(ModeKey(3), "StopMinutes", 30);
  phone.SetDword(ModeKey(3), "ModeBack", 1);
  phone.SetDailyStart(4, 10, 0, 0x11);  // Saturday and Sunday
  std::vector<std::string> changes = PredictionHolds(phone);
  EXPECT_EQ(Count(changes, "2026-12-12 10:00 4 \"M4\" daily start"), 1);
  EXPECT_EQ(Count(changes, "2026-12-12 08:00"), 0);
  // Night starts every evening and stops the six mornings mode 2 is in effect.
  EXPECT_EQ(changes.size(), 7u + 6 + 5 * 2 + 2);
}

TEST(WeekPrediction, SameMinuteClashes) {
  TodayPhone phone(Start);
  // At 09:00 mode 5's start overrides mode 2's on Wednesdays.
  phone.SetDailyStart(2, 9, 0, EveryDay);
  phone.SetDailyStart(5, 9, 0, WednesdayOnly);
  // At 18:00 mode 2 stops back to 1, and on Fridays mode 4 starts over it.
  phone.SetDword(ModeKey(2), "StopHour", 18);
  phone.SetDword(ModeKey(2), "ModeBack", 1);
  phone.SetDailyStart(4, 18, 0, 0x100);
  // A stop of the mode not in effect at its minute.
  phone.SetDword(ModeKey(5), "StopHour", 12);
  phone.SetDword(ModeKey(5), "ModeBack", 3);
  std::vector<std::string> changes = PredictionHolds(phone);
  EXPECT_EQ(Count(changes, "2026-12-09 09:00 5 \"M5\" daily start"), 1);
  EXPECT_EQ(Count(changes, "2026-12-11 18:00 4 \"M4\" daily start"), 1);
  EXPECT_EQ(Count(changes, "2026-12-09 12:00 3 \"M3\" daily stop"), 1);
}

TEST(WeekPrediction, ACalendarReadWhenThePhoneComesOnAndAfterEachAppointment) {
  TodayPhone phone(Start);
  phone.SetCalendarRule(1, 2, "Business", 3);
  phone.Tool({"calendar", "add", "--start", "2026-12-09 10:00", "--end", "2026-12-09 11:00", "--category", "Business"});
  phone.Tool({"calendar", "add", "--start", "2026-12-09 14:00", "--end", "2026-12-09 15:30", "--category", "Business"});
  phone.Tool({"calendar", "add", "--start", "2026-12-09 16:00", "--end", "2026-12-09 17:00", "--category", "Personal"});
  phone.Tool({"calendar", "add", "--start", "2026-12-10 10:00", "--end", "2026-12-10 11:00", "--category", "Business"});
  phone.SetDailyStart(2, 22, 0, EveryDay);
  phone.SetDword(ModeKey(2), "StopHour", 7);
  phone.SetDword(ModeKey(2), "ModeBack", 1);
  std::vector<std::string> changes = PredictionHolds(phone);
  EXPECT_EQ(Count(changes, "2026-12-09 14:00 3 \"M3\" calendar start"), 1);
  EXPECT_EQ(Count(changes, "2026-12-09 15:30 1 \"M1\" calendar end"), 1);
}

TEST(WeekPrediction, ACalendarReadEachMinuteOverSeveralDays) {
  TodayPhone phone(Start);
  phone.SetCalendarRule(1, 4, "N/A", 5, true);
  phone.Tool({"calendar", "add", "--start", "2026-12-09 05:00", "--end", "2026-12-09 06:30"});
  phone.Tool({"calendar", "add", "--start", "2026-12-10 13:00", "--end", "2026-12-10 14:00", "--status", "free"});
  phone.Tool({"calendar", "add", "--start", "2026-12-12 23:00", "--end", "2026-12-13 01:00"});
  phone.Tool({"calendar", "add", "--start", "2026-12-14 21:00", "--end", "2026-12-14 23:00"});
  // Mode 2 is in effect when the last one begins.
  phone.SetDailyStart(2, 20, 0, 0x1000000);
  phone.SetDword(ModeKey(2), "StopHour", 23);
  phone.SetDword(ModeKey(2), "StopMinutes", 30);
  phone.SetDword(ModeKey(2), "ModeBack", 1);
  std::vector<std::string> changes = PredictionHolds(phone);
  EXPECT_EQ(Count(changes, "2026-12-09 06:00 5 \"M5\" calendar start (missed 05:00)"), 1);
  EXPECT_EQ(Count(changes, "2026-12-10 13:00 5 \"M5\" calendar start"), 1);
  EXPECT_EQ(Count(changes, "2026-12-14 21:00"), 0);
}

TEST(WeekPrediction, ATemporarySwitchTakenInAndEndedOnce) {
  TodayPhone phone(Start);
  // As the timer bar leaves it: mode 3 until 10:30, then back to mode 1.
  phone.SetDword(ModeKey(3), "StopHourTemp", 10);
  phone.SetDword(ModeKey(3), "StopMinutesTemp", 30);
  phone.SetDword(ModeKey(3), "ModeBackTemp", 1);
  phone.SetDword(RootKey, "TimeSwitch", 4);
  // Mode 4's start in the same minute gives way to the end of the switch.
  phone.SetDailyStart(4, 10, 30, EveryDay);
  phone.SetDailyStart(2, 22, 30, EveryDay);
  phone.SetDword(ModeKey(2), "StopHour", 7);
  phone.SetDword(ModeKey(2), "ModeBack", 1);
  std::vector<std::string> changes = PredictionHolds(phone);
  ASSERT_GE(changes.size(), 2u);
  EXPECT_EQ(changes[0], "2026-12-09 06:00 3 \"M3\" temporary");
  EXPECT_EQ(changes[1], "2026-12-09 10:30 1 \"M1\" temporary end");
  EXPECT_EQ(Count(changes, "2026-12-10 10:30 4 \"M4\" daily start"), 1);
}

}  // namespace
