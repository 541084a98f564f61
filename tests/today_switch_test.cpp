// The phone switched on with `selvane-device run`: the Today screen makes
// the due mode active at its minute (daily start on a ticked day, daily
// stop, end of a temporary switch, the calendar rule), starts the programs
// registered for a timed start, and its taps start the settings and the
// timer bar.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

#include "golden_pictures.h"
#include "testing/device_fixture.h"
#include "journal.h"
#include "windows.h"

namespace {

using testing_support::ProgramResult;
using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDevice;
using testing_support::WriteFile;

const char* const RootKey = "HKLM\\Software\\Microsoft\\Today\\Items\\Selvane";
const int ModeNameLine = 1003;
const int BackLine = 1004;

std::string ModeKey(int mode) { return std::string(RootKey) + "\\Mode " + std::to_string(mode); }

// A phone whose clock stands at `now`, with five named modes and mode 1 active.
class TodayPhone {
 public:
  explicit TodayPhone(const char* now) {
    Tool({"clock", "set", now, "--frozen"});
    for (int mode = 1; mode <= 5; ++mode) SetText(ModeKey(mode), "Mode Name", "M" + std::to_string(mode));
    SetDword(RootKey, "DefaultMode", 1);
    platform::JournalClear();
  }

  ProgramResult Tool(const std::vector<std::string>& args) {
    ProgramResult result = RunProgram("selvane-device", args);
    EXPECT_EQ(result.status, 0) << result.err;
    return result;
  }
  void SetDword(const std::string& key, const std::string& name, DWORD value) {
    Tool({"reg", "set", key, name, "--dword", std::to_string(value)});
  }
  void SetText(const std::string& key, const std::string& name, const std::string& text) {
    Tool({"reg", "set", key, name, "--sz", text});
  }
  void SetDailyStart(int mode, DWORD hour, DWORD minute, DWORD days) {
    SetDword(ModeKey(mode), "StartHour", hour);
    SetDword(ModeKey(mode), "StartMinutes", minute);
    SetDword(ModeKey(mode), "Days", days);
  }
  std::optional<DWORD> Dword(const std::string& key, const std::string& name) {
    ProgramResult result = RunProgram("selvane-device", {"reg", "get", key, name});
    if (result.status != 0) return std::nullopt;
    return static_cast<DWORD>(std::stoul(result.out.substr(result.out.find(':') + 1), nullptr, 16));
  }
  DWORD ActiveMode() { return Dword(RootKey, "DefaultMode").value_or(0); }

  std::string Path(const std::string& name) const { return (device_.folder().parent_path() / name).string(); }

  // Switches the phone on with a script; it is switched off when the script is done.
  void Run(const std::string& script) {
    WriteFile(Path("run.txt"), script);
    ProgramResult result = RunProgram("selvane-device", {"run"}, {{"SELVANE_INPUT", Path("run.txt")}});
    EXPECT_EQ(result.status, 0) << result.err;
  }
  // Runs the timer bar with a tap at x in its first row, as if the Today screen had started it.
  void TapTimerBar(const std::string& commandLine, int x) {
    WriteFile(Path("bar.txt"), "tap " + std::to_string(x) + " 148\n");
    ProgramResult result = RunProgram("selvane-device", {"start", "--wait", "SelvaneTimer", commandLine},
                                      {{"SELVANE_INPUT", Path("bar.txt")}});
    EXPECT_EQ(result.status, 0) << result.err;
  }
  nlohmann::json Dump(const std::string& name) const { return nlohmann::json::parse(ReadFile(Path(name))); }

 private:
  TempDevice device_;
};

std::vector<std::string> JournalOf(const std::string& program) {
  std::vector<std::string> lines;
  for (const auto& line : platform::JournalRead())
    if (line.program == program) lines.push_back(line.text);
  return lines;
}

// Index of the first journal line holding `text`, or -1.
int JournalIndex(const std::string& text) {
  auto journal = platform::JournalRead();
  for (size_t i = 0; i < journal.size(); ++i)
    if (journal[i].text.find(text) != std::string::npos) return static_cast<int>(i);
  return -1;
}

int Count(const std::vector<std::string>& lines, const std::string& prefix) {
  int count = 0;
  for (const auto& line : lines) count += line.rfind(prefix, 0) == 0;
  return count;
}

std::string ControlText(const nlohmann::json& dump, int id, bool* visible = nullptr) {
  for (const auto& control : dump["windows"][0]["controls"]) {
    if (control["id"] != id) continue;
    if (visible) *visible = control["visible"];
    return control["text"];
  }
  return "";
}

// 2026-12-09 is a Wednesday.
const DWORD EveryDay = 0x1111111;
const DWORD MondayOnly = 0x1000000;
const DWORD WednesdayOnly = 0x10000;

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
  for (DWORD days : {MondayOnly, 0u}) {
    TodayPhone phone("2026-12-09 22:29:50");
    phone.SetDailyStart(2, 22, 30, days);
    phone.Run("wait 20000\n");
    EXPECT_EQ(phone.ActiveMode(), 1u);
    EXPECT_EQ(Count(JournalOf("SelvaneToday"), "waveOutSetVolume"), 0);
    EXPECT_GE(JournalIndex("AppRunAtTime \"\\Program files\\Selvane\\Lumist.exe\" 2026-12-09 22:30:05"), 0);
    EXPECT_GE(JournalIndex("CeRunAppAtTime \"\\Program files\\Selvane\\Lumist.exe\" 2026-12-10 22:30:05"), 0);
  }
  TodayPhone ticked("2026-12-09 22:29:50");
  ticked.SetDailyStart(2, 22, 30, WednesdayOnly);
  ticked.Run("wait 20000\n");
  EXPECT_EQ(ticked.ActiveMode(), 2u);
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
  EXPECT_EQ(ControlText(during, BackLine, &shown), "back to M1 at 10:35");
  EXPECT_TRUE(shown);

  nlohmann::json after = phone.Dump("after.json");
  EXPECT_EQ(ControlText(after, ModeNameLine), "M1");
  ControlText(after, BackLine, &shown);
  EXPECT_FALSE(shown);
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

TEST_F(TodayCalendar, AnAppointmentGoingOnWhenThePhoneComesOnSwitchesAtOnce) {
  Add("09:30", "10:30", "busy", "Business");
  phone_.Run("wait 1000\n");
  EXPECT_EQ(phone_.ActiveMode(), 3u);
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
  EXPECT_EQ(Count(today, "CreateProcessW \"\\Program files\\Selvane\\SelvaneTimer.exe\" \"1:3 24:138\""), 1);
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

}  // namespace
