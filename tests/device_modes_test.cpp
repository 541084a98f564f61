// `selvane-device modes`: the five modes' schedule as a user reads it, times
// in decimal, the next switch of each in the phone's time form.
#include "tests/today_support.h"

namespace {

using namespace today_test;

TEST(DeviceModes, EachModeShowsItsRulesAndItsNextSwitch) {
  TodayPhone phone("2026-12-09 10:00:00");  // a Wednesday; M1 active
  phone.SetDailyStart(2, 22, 30, MondayOnly | WednesdayOnly);
  phone.SetDword(ModeKey(2), "StopHour", 7);
  phone.SetDword(ModeKey(2), "ModeBack", 4);
  phone.SetCalendarRule(3, 2, "Work", 5);
  phone.SetDword(ModeKey(3), "StartHourOutlook", 14);
  phone.SetDailyStart(4, 6, 0, MondayOnly);
  phone.SetDailyStart(5, 99, 7, 0);

  ProgramResult modes = phone.Tool({"modes"});
  EXPECT_EQ(modes.out,
            "1 \"M1\" active; start none; stop none; calendar off; next none\n"
            "2 \"M2\"; start 22:30 Mon Wed; stop 07:00 back to 4 \"M4\"; calendar off; next 2026-12-09 22:30\n"
            "3 \"M3\"; start none; stop none; calendar busy, category \"Work\" to 5 \"M5\"; next 2026-12-09 14:00\n"
            "4 \"M4\"; start 06:00 Mon; stop none; calendar off; next 2026-12-14 06:00\n"
            "5 \"M5\"; start 99:07 (no time of day) every day; stop none; calendar off; next none\n");

  // Later in the day the next switch moves on: Night's stop tomorrow morning.
  phone.SetClock("2026-12-09 23:00:00");
  EXPECT_NE(phone.Tool({"modes"}).out.find("back to 4 \"M4\"; calendar off; next 2026-12-10 07:00\n"),
            std::string::npos);
}

TEST(DeviceModes, StateHelpSaysWhatStateShows) {
  TodayPhone phone("2026-12-09 10:00:00");
  std::string help = phone.Tool({"state", "--help"}).out;
  for (const char* fact : {"clock", "active mode", "temporary switch", "next wake-up", "timed starts", "hardware"})
    EXPECT_NE(help.find(fact), std::string::npos) << fact << "\n" << help;
}

TEST(DeviceRefusals, StartWithoutAProgramIsAWrongCommandLine) {
  TodayPhone phone("2026-12-09 10:00:00");
  ProgramResult start = RunProgram("selvane-device", {"start"});
  EXPECT_EQ(start.status, 2) << start.err;
  EXPECT_NE(start.err.find("name the program"), std::string::npos) << start.err;
}

TEST(DisplaySettings, UnknownDisplayOrScaleValuesAreRefusedNamingTheAllowedOnes) {
  TodayPhone phone("2026-12-09 10:00:00");
  ProgramResult display = RunProgram("selvane-paint-probe", {}, {{"SELVANE_DISPLAY", "bogus"}});
  EXPECT_EQ(display.status, 1);
  EXPECT_NE(display.err.find("SELVANE_DISPLAY is \"bogus\": it must be sdl"), std::string::npos) << display.err;
  EXPECT_NE(display.err.find("headless"), std::string::npos) << display.err;
  for (const char* scale : {"9", "abc", "0", "2x"}) {
    ProgramResult refused =
        RunProgram("selvane-paint-probe", {}, {{"SELVANE_DISPLAY", "headless"}, {"SELVANE_SCALE", scale}});
    EXPECT_EQ(refused.status, 1) << scale;
    EXPECT_NE(refused.err.find("SELVANE_SCALE is \"" + std::string(scale) + "\": it must be a whole number from 1 to 8"),
              std::string::npos)
        << refused.err;
  }
}

}  // namespace
