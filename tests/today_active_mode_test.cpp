// A "DefaultMode" that names no mode, and a switch left recorded by a killed
// item: what `state` says, and what the phone does when it comes on.
#include <cstdio>

#include "tests/today_support.h"

namespace {

using today_test::RootKey;
using today_test::RunProgram;
using today_test::WriteFile;
using today_test::Store;
using today_test::TodayPhone;

struct InvalidMode {
  const char* name;
  std::vector<std::string> set;  // the arguments of `reg set` after the value's name
  std::string stateLine;
};

class InvalidActiveMode : public ::testing::TestWithParam<InvalidMode> {};

TEST_P(InvalidActiveMode, IsNoActiveModeAndTheItemMakesHomeActive) {
  TodayPhone phone("2026-12-09 10:00:00", Store::Prepared);
  std::vector<std::string> set{"reg", "set", RootKey, "DefaultMode"};
  set.insert(set.end(), GetParam().set.begin(), GetParam().set.end());
  phone.Tool(set);
  EXPECT_NE(phone.Tool({"state"}).out.find("active mode: " + GetParam().stateLine + "\n"), std::string::npos)
      << phone.Tool({"state"}).out;

  // The settings program opens on "Mode 0" as with no "DefaultMode", and
  // creates no key for the number stored.
  WriteFile(phone.Path("dump.txt"), "dump " + phone.Path("settings.json") + "\n");
  auto settings = RunProgram("SelvaneSettings", {}, {{"SELVANE_INPUT", phone.Path("dump.txt")}});
  ASSERT_EQ(settings.status, 0) << settings.err;
  EXPECT_EQ(today_test::ControlText(phone.Dump("settings.json"), 1004, nullptr, "SelvaneSettings"), "Mode 0");
  EXPECT_NE(RunProgram("selvane-device", {"reg", "get", today_test::ModeKey(6)}).status, 0);

  phone.Run("wait 1000\n");
  EXPECT_EQ(phone.ActiveMode(), 4u);
  auto lines = today_test::JournalOf("SelvaneToday");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "ModeSwitch 4 \"Home\" no valid active mode");
  EXPECT_NE(phone.Tool({"state"}).out.find("active mode: 4 \"Home\"\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Values, InvalidActiveMode,
    ::testing::Values(InvalidMode{"Zero", {"--dword", "0"}, "none (stored value 0x00000000)"},
                      InvalidMode{"Six", {"--dword", "6"}, "none (stored value 0x00000006)"},
                      InvalidMode{"AllOnes", {"--dword", "0xFFFFFFFF"}, "none (stored value 0xFFFFFFFF)"},
                      InvalidMode{"Text", {"--sz", "Home"}, "none (stored value \"Home\", not a mode number)"}),
    [](const ::testing::TestParamInfo<InvalidMode>& info) { return std::string(info.param.name); });

// A switch record as the item writes it: mode, reason, the time of the
// switch, missed or not, and whether its journal line is written.
std::string SwitchRecord(int mode, int reason, int minute, bool journalled) {
  char hex[256];
  std::snprintf(hex, sizeof hex,
                "hex:%02x,00,00,00,%02x,00,00,00,ea,07,0c,00,03,00,09,00,09,00,%02x,00,00,00,00,00,"
                "00,00,00,00,00,00,00,00,%02x,00,00,00",
                mode, reason, minute, journalled ? 1 : 0);
  return hex;
}

void PlantRecord(TodayPhone& phone, const std::string& data) {
  WriteFile(phone.Path("record.reg"), "Windows Registry Editor Version 5.00\n\n[" + std::string(RootKey) +
                                          "]\n\"SwitchUnderway\"=" + data + "\n");
  phone.Tool({"reg", "import", phone.Path("record.reg")});
}

TEST(TodayResume, ASwitchLeftRecordedIsFinishedWithItsLineMarkedResumed) {
  TodayPhone phone("2026-12-09 10:00:00", Store::Prepared);
  PlantRecord(phone, SwitchRecord(2, 1, 59, false));  // "Night" by hand at 09:59
  phone.Run("wait 1000\n");
  EXPECT_EQ(phone.ActiveMode(), 2u);
  auto lines = today_test::JournalOf("SelvaneToday");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "ModeSwitch 2 \"Night\" by hand (resumed)");
  EXPECT_GT(today_test::Count(lines, "waveOutSetVolume"), 0);
  EXPECT_EQ(RunProgram("selvane-device", {"reg", "get", RootKey, "LastSwitchTime"}).out, "\"2026-12-09 09:59:00\"\n");
  EXPECT_NE(RunProgram("selvane-device", {"reg", "get", RootKey, "SwitchUnderway"}).status, 0);
}

TEST(TodayResume, AJournalledSwitchIsFinishedWithoutASecondLine) {
  TodayPhone phone("2026-12-09 10:00:00", Store::Prepared);
  PlantRecord(phone, SwitchRecord(2, 1, 59, true));
  phone.Run("wait 1000\n");
  EXPECT_EQ(phone.ActiveMode(), 2u);
  EXPECT_EQ(today_test::Count(today_test::JournalOf("SelvaneToday"), "ModeSwitch"), 0);
}

TEST(TodayResume, AMalformedRecordIsDroppedAndSwitchesNothing) {
  TodayPhone phone("2026-12-09 10:00:00", Store::Prepared);
  PlantRecord(phone, SwitchRecord(7, 1, 59, false));
  phone.Run("wait 1000\n");
  EXPECT_EQ(phone.ActiveMode(), 4u);
  EXPECT_EQ(today_test::Count(today_test::JournalOf("SelvaneToday"), "ModeSwitch"), 0);
  PlantRecord(phone, "hex:01,02");
  phone.Run("wait 1000\n");
  EXPECT_EQ(phone.ActiveMode(), 4u);
  EXPECT_NE(RunProgram("selvane-device", {"reg", "get", RootKey, "SwitchUnderway"}).status, 0);
}

}  // namespace
