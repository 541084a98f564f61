// `selvane-device week` as a user reads it: the mode at the start, each
// change with the item's reason, and each rule that never takes effect with
// its own; a wrong command line is refused before the device is read.
#include "tests/golden_pictures.h"
#include "tests/today_support.h"

namespace {

using namespace today_test;

TEST(DeviceWeek, PrintsTheChangesAndWhyEachIdleRuleNeverTakesEffect) {
  TodayPhone phone("2026-12-09 06:00:00");  // a Wednesday; M1 active
  phone.SetDailyStart(2, 22, 30, EveryDay);
  phone.SetDword(ModeKey(2), "StopHour", 7);
  phone.SetDword(ModeKey(2), "ModeBack", 1);
  phone.SetDailyStart(1, 22, 30, EveryDay);  // mode 2's start of that minute comes after it
  phone.SetDailyStart(3, 8, 0, MondayOnly);
  phone.SetDword(ModeKey(3), "StopHour", 18);
  phone.SetDword(ModeKey(3), "ModeBack", 3);
  phone.SetDword(ModeKey(4), "StopHour", 25);
  phone.SetDword(ModeKey(5), "StopHour", 12);
  phone.SetDword(ModeKey(5), "ModeBack", 3);
  phone.SetCalendarRule(5, 2, "Holiday", 2);
  phone.Tool({"calendar", "add", "--start", "2026-12-10 09:00", "--end", "2026-12-10 10:00", "--category", "Work"});

  EXPECT_EQ(phone.Tool({"week", "--days", "2"}).out,
            "Wed 2026-12-09 06:00  1 \"M1\"  in effect\n"
            "Wed 2026-12-09 22:30  2 \"M2\"  daily start\n"
            "Thu 2026-12-10 07:00  1 \"M1\"  daily stop\n"
            "Thu 2026-12-10 22:30  2 \"M2\"  daily start\n"
            "never takes effect:\n"
            "1 \"M1\" daily start 22:30: always overridden in its minute, by 2 \"M2\"\n"
            "3 \"M3\" daily start 08:00: none of its week days comes in the span\n"
            "3 \"M3\" daily stop 18:00: goes back to its own mode\n"
            "4 \"M4\" daily stop 25:00: no time of day\n"
            "5 \"M5\" daily stop 12:00: the mode is never in effect at that minute\n"
            "5 \"M5\" calendar rule: no appointment in the span meets it\n");

  // From a later start, the item having last switched on Sunday morning, the
  // phone comes on with a switch missed, and Monday comes.
  phone.SetText(RootKey, "LastSwitchTime", "2026-12-13 07:00:05");
  std::string later = phone.Tool({"week", "--from", "2026-12-13 23:00", "--days", "2"}).out;
  EXPECT_EQ(later.substr(0, later.find("Mon 2026-12-14 08:00")),
            "Sun 2026-12-13 23:00  1 \"M1\"  in effect\n"
            "Sun 2026-12-13 23:00  2 \"M2\"  daily start (missed 22:30)\n"
            "Mon 2026-12-14 07:00  1 \"M1\"  daily stop\n");
  EXPECT_NE(later.find("Mon 2026-12-14 08:00  3 \"M3\"  daily start\n"), std::string::npos);
}

TEST(DeviceWeek, PngDrawsARowADayInTheModesColoursAndSaysWhenItCannotWrite) {
  TodayPhone phone("2026-12-09 06:00:00");
  phone.SetDailyStart(2, 12, 0, EveryDay);
  phone.Tool({"week", "--from", "2026-12-09 00:00", "--days", "2", "--png", phone.Path("week.png")});
  platform::Surface picture = LoadPng(phone.Path("week.png"));
  // 532 pixels across, 24 hours from x 44 to 524: two rows of 22 pixels
  // under 14 for the hours, then the legend.
  ASSERT_EQ(picture.width(), 532);
  ASSERT_EQ(picture.height(), 14 + 2 * 22 + 4 + 44);
  // M1 until noon of the first day, then M2, which has no stop.
  EXPECT_EQ(picture.at(44 + 60, 16), 0xFFCD96u);
  EXPECT_EQ(picture.at(44 + 360, 16), 0xAAAFEBu);
  EXPECT_EQ(picture.at(44 + 60, 16 + 22), 0xAAAFEBu);
  // "now", 06:00 of the first day, is marked in red.
  EXPECT_EQ(picture.at(44 + 120, 14 + 4), 0xDC0000u);

  ProgramResult refused =
      RunProgram("selvane-device", {"week", "--png", phone.Path("no such folder") + "/week.png"});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("cannot write"), std::string::npos) << refused.err;
}

TEST(DeviceWeek, AWrongCommandLineIsRefused) {
  TodayPhone phone("2026-12-09 06:00:00");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"week", "--days", "0"}, {"week", "--days", "32"}, {"week", "--from", "2026-12-9 06:00"},
        {"week", "--from", "2026-02-30 06:00"}}) {
    ProgramResult result = RunProgram("selvane-device", args);
    EXPECT_EQ(result.status, 2) << args.back() << result.err;
  }
}

}  // namespace
