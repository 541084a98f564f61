// The Today item as a new user meets it: a fresh phone comes on with "Home"
// active, a tap on a mode's picture switches to it for good or, with the
// timer bar, for a while. (That a second tap on the mode line starts no
// second settings program is tested in the host window, where the settings
// program stays: headless, it is switched off as soon as it waits.)
#include "tests/today_support.h"

namespace {

using namespace today_test;

TEST(TodayFirstRun, AFreshPhoneComesOnWithHomeActiveAndTheSettingsOpenOnIt) {
  TodayPhone phone("2026-12-09 09:00:00", Store::Fresh);
  phone.Run("dump " + phone.Path("today.json") + "\n");

  EXPECT_EQ(phone.Dword(RootKey, "Init"), 1u);
  EXPECT_EQ(phone.ActiveMode(), 4u);
  const char* const factoryNames[] = {"Car", "Night", "Office", "Home", "Car"};
  for (int mode = 1; mode <= 5; ++mode)
    EXPECT_EQ(phone.Tool({"reg", "get", ModeKey(mode), "Mode Name"}).out, "\"" + std::string(factoryNames[mode - 1]) + "\"\n");
  EXPECT_EQ(ControlText(phone.Dump("today.json"), ModeNameLine), "Home");
  auto today = JournalOf("SelvaneToday");
  EXPECT_EQ(Count(today, "ModeSwitch 4 \"Home\" first run"), 1);
  EXPECT_GT(JournalIndex("waveOutSetVolume"), JournalIndex("ModeSwitch 4")) << "the mode is applied";

  // Coming on again changes nothing; the settings program opens on "Home".
  platform::JournalClear();
  phone.Tool({"reg", "set", ModeKey(2), "Mode Name", "--sz", "Quiet"});
  phone.Run("");
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch"), 0);
  EXPECT_EQ(phone.Tool({"reg", "get", ModeKey(2), "Mode Name"}).out, "\"Quiet\"\n") << "no second first run";
  WriteFile(phone.Path("settings.txt"), "dump " + phone.Path("settings.json") + "\n");
  ProgramResult settings =
      RunProgram("selvane-device", {"start", "--wait", "SelvaneSettings"}, {{"SELVANE_INPUT", phone.Path("settings.txt")}});
  ASSERT_EQ(settings.status, 0) << settings.err;
  EXPECT_EQ(ControlText(phone.Dump("settings.json"), 1004, nullptr, "SelvaneSettings"), "Home");
}

TEST(TodayFirstRun, AStoreThatNamesNoActiveModeGetsHome) {
  TodayPhone phone("2026-12-09 09:00:00");
  phone.Tool({"reg", "delete", RootKey, "DefaultMode"});
  phone.SetText(ModeKey(4), "Mode Name", "Home");
  phone.Run("");
  EXPECT_EQ(phone.ActiveMode(), 4u);
  EXPECT_EQ(phone.Tool({"reg", "get", ModeKey(1), "Mode Name"}).out, "\"M1\"\n") << "a prepared store is kept";
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch 4 \"Home\" first run"), 1);
}

TEST(TodayHandSwitch, ATapOnAPictureSwitchesAtOnceAndTheBarCanMakeItTemporary) {
  TodayPhone phone("2026-12-09 10:00:00", Store::Prepared);
  phone.Run(TodayPhone::TapPicture(2) + "dump " + phone.Path("night.json") + "\n");

  EXPECT_EQ(phone.ActiveMode(), 2u);
  EXPECT_EQ(ControlText(phone.Dump("night.json"), ModeNameLine), "Night");
  auto today = JournalOf("SelvaneToday");
  int switched = JournalIndex("ModeSwitch 2 \"Night\" by hand");
  ASSERT_GE(switched, 0);
  // Night's volumes are applied, then the bar is started to go back to Home.
  EXPECT_GT(JournalIndex("waveOutSetVolume"), switched);
  EXPECT_GT(JournalIndex("CreateProcessW \"\\Program files\\Selvane\\SelvaneTimer.exe\" \"4:2 24:152\""), switched);
  EXPECT_EQ(Count(today, "ModeSwitch"), 1);

  // The bar's 60: back to Home at 11:00, made when the phone is on then.
  phone.TapTimerBar("4:2 24:138", 119);
  ASSERT_EQ(phone.Dword(ModeKey(2), "StopHourTemp"), 11u);
  std::string state = phone.Tool({"state"}).out;
  EXPECT_NE(state.find("active mode: 2 \"Night\"\n"), std::string::npos) << state;
  EXPECT_NE(state.find("temporary switch: back to 4 \"Home\" at 11:00\n"), std::string::npos) << state;
  EXPECT_NE(state.find("next wake-up: 2026-12-09 11:00:05 \"\\Program files\\Selvane\\Lumist.exe\"\n"),
            std::string::npos)
      << state;
  platform::JournalClear();
  phone.Run("wait 3540000\ndump " + phone.Path("before.json") + "\nwait 70000\n");
  EXPECT_EQ(ControlText(phone.Dump("before.json"), ModeNameLine), "Night");
  EXPECT_EQ(ControlText(phone.Dump("before.json"), SwitchLine), "back to Home at 11:00");
  EXPECT_EQ(phone.ActiveMode(), 4u);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch 4 \"Home\" temporary end"), 1);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch"), 1);
}

TEST(TodayHandSwitch, ATapWithATemporarySwitchPendingEndsItForGood) {
  TodayPhone phone("2026-12-09 10:00:00", Store::Prepared);
  phone.TapTimerBar("4:3 24:138", 119);  // Office until 11:00, then Home
  phone.Run("wait 1000\n" + TodayPhone::TapPicture(2) + "wait 4000000\n");

  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch 3 \"Office\" temporary"), 1);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch 2 \"Night\" by hand"), 1);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch 4"), 0) << "the temporary switch never goes back";
  EXPECT_EQ(phone.ActiveMode(), 2u);
  EXPECT_EQ(phone.Dword(ModeKey(3), "StopHourTemp"), 0u);
  EXPECT_EQ(phone.Dword(ModeKey(3), "StopMinutesTemp"), 0u);
  EXPECT_EQ(phone.Dword(RootKey, "TimeSwitch"), 0u);
  // The bar goes back to Office, the mode in effect before the tap.
  EXPECT_GE(JournalIndex("CreateProcessW \"\\Program files\\Selvane\\SelvaneTimer.exe\" \"3:2 24:152\""), 0);
}

TEST(TodayHandSwitch, ATapOnTheActiveModeSwitchesNothingAndStartsNoBar) {
  TodayPhone phone("2026-12-09 10:00:00", Store::Prepared);
  phone.Run(TodayPhone::TapPicture(4));
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch"), 0);
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "CreateProcessW"), 0);
}

TEST(TodayJournal, EachLineKeepsThePhoneTimeOfItsCall) {
  TodayPhone phone("2026-12-09 22:29:50");
  phone.SetDailyStart(2, 22, 30, 0);
  phone.Run("wait 20000\n");
  std::string times = phone.Tool({"journal", "--times"}).out;
  std::string plain = phone.Tool({"journal"}).out;
  EXPECT_NE(times.find(" 2026-12-09 22:30:05 SelvaneToday ModeSwitch 2 \"M2\" daily start\n"), std::string::npos)
      << times;
  EXPECT_NE(plain.find(" SelvaneToday ModeSwitch 2 \"M2\" daily start\n"), std::string::npos) << plain;
  EXPECT_EQ(plain.find("2026-12-09 22:30:05 SelvaneToday"), std::string::npos) << "plain lines keep their form";
  // Lumist's key releases come a second apart on its own clock.
  EXPECT_NE(times.find(" 2026-12-09 22:30:10 Lumist keybd_event"), std::string::npos) << times;
}

}  // namespace

namespace {

using namespace today_test;

TEST(TodayHandSwitch, ATapOnTheActiveModeWithATemporarySwitchPendingKeepsItForGood) {
  TodayPhone phone("2026-12-09 10:00:00", Store::Prepared);
  phone.TapTimerBar("4:3 24:138", 119);  // Office until 11:00, then Home
  phone.Run("wait 1000\n" + TodayPhone::TapPicture(3) + "wait 1000\n");

  auto today = JournalOf("SelvaneToday");
  EXPECT_EQ(Count(today, "ModeSwitch 3 \"Office\" temporary"), 1);
  EXPECT_EQ(Count(today, "ModeSwitch 3 \"Office\" by hand"), 1);
  EXPECT_EQ(Count(today, "CreateProcessW \"\\Program files\\Selvane\\SelvaneTimer.exe\""), 0)
      << "no bar for the mode already active";
  EXPECT_EQ(phone.Dword(ModeKey(3), "StopHourTemp"), 0u);
  std::string state = phone.Tool({"state"}).out;
  EXPECT_NE(state.find("temporary switch: none\n"), std::string::npos) << state;
  EXPECT_EQ(state.find("11:00:05"), std::string::npos) << "the ended switch's wake-up is gone\n" << state;

  platform::JournalClear();
  phone.Run("wait 4000000\n");
  EXPECT_EQ(Count(JournalOf("SelvaneToday"), "ModeSwitch 4"), 0) << "nothing goes back";
  EXPECT_EQ(phone.ActiveMode(), 3u);
}

}  // namespace
