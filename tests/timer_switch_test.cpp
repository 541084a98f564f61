// The timer bar on a phone, driven by taps at screen pixels: the end times it
// writes, which cell a tap falls in, a pending switch, cancel, the
// "TimeSwitch" word, the six-second end and the command line's defaults.
#include <gtest/gtest.h>
#include <windows.h>

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

#include "platform/kernel/journal.h"
#include "platform/testing/device_fixture.h"
#include "platform/testing/registry_values.h"

namespace {

using testing_support::GetDword;
using testing_support::ProgramResult;
using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::SetDword;
using testing_support::SetText;
using testing_support::TempDevice;
using testing_support::WriteFile;

const char16_t* const Root = u"\\Software\\Microsoft\\Today\\Items\\Selvane";
const char* const RootKey = "HKLM\\Software\\Microsoft\\Today\\Items\\Selvane";
const int SwitchText = 1001;

std::u16string ModeKey(int mode) { return std::u16string(Root) + u"\\Mode " + char16_t(u'0' + mode); }

void DeleteModes() {
  for (int mode = 1; mode <= 5; ++mode) RegDeleteKeyW(HKEY_LOCAL_MACHINE, ModeKey(mode).c_str());
}

struct TemporaryStop {
  DWORD hour;
  DWORD minute;
};

std::optional<TemporaryStop> StopOf(int mode) {
  auto hour = GetDword(HKEY_LOCAL_MACHINE, ModeKey(mode), u"StopHourTemp");
  auto minute = GetDword(HKEY_LOCAL_MACHINE, ModeKey(mode), u"StopMinutesTemp");
  if (!hour || !minute) return std::nullopt;
  return TemporaryStop{*hour, *minute};
}

// A phone with its clock standing at `now`, and the timer run on it with a
// script of taps, waits and dumps.
class TimerPhone {
 public:
  explicit TimerPhone(const char* now, int width = 240, int height = 320) : device_(Options(width, height)) {
    ProgramResult clock = RunProgram("selvane-device", {"clock", "set", now, "--frozen"});
    EXPECT_EQ(clock.status, 0) << clock.err;
    platform::JournalClear();
  }

  std::string Path(const std::string& name) const { return (device_.folder().parent_path() / name).string(); }

  ProgramResult Run(const std::vector<std::string>& args, const std::string& script) {
    WriteFile(Path("script.txt"), script);
    ProgramResult result = RunProgram("SelvaneTimer", args, {{"SELVANE_INPUT", Path("script.txt")}});
    EXPECT_EQ(result.status, 0) << result.err;
    return result;
  }

  // The script line that dumps the windows into `name`, read back by Dump.
  std::string DumpLine(const std::string& name) const { return "dump " + Path(name) + "\n"; }
  nlohmann::json Dump(const std::string& name) const { return nlohmann::json::parse(ReadFile(Path(name))); }

  // The wake-up registrations the runs made, as their journal texts.
  static std::vector<std::string> WakeUps() {
    std::vector<std::string> found;
    for (const auto& line : platform::JournalRead()) {
      if (line.text.rfind("CeRunAppAtTime", 0) == 0) found.push_back(line.text);
    }
    return found;
  }

 private:
  static platform::DeviceOptions Options(int width, int height) {
    platform::DeviceOptions options;
    options.screenWidth = width;
    options.screenHeight = height;
    return options;
  }
  TempDevice device_;
};

// A tap at x inside the bar: the bar's inside begins one pixel right of the
// screen's edge, below a one-pixel border at the bar's top minus one.
std::string TapInBar(int x, int barTop = 150) {
  return "tap " + std::to_string(x + 1) + " " + std::to_string(barTop + 12) + "\n";
}

// x in the bar of the middle of each choice's picture on a 240-pixel screen.
const int Tap15 = 17;
const int Tap60 = 119;
const int Tap180 = 187;
const int TapCancel = 221;

const nlohmann::json* Window(const nlohmann::json& dump) {
  if (!dump.contains("windows") || dump["windows"].empty()) return nullptr;
  return &dump["windows"][0];
}

const nlohmann::json* Control(const nlohmann::json& dump, int id) {
  const nlohmann::json* window = Window(dump);
  if (window == nullptr) return nullptr;
  for (const auto& control : (*window)["controls"]) {
    if (control["id"] == id) return &control;
  }
  return nullptr;
}

struct EndTimeCase {
  const char* name;
  const char* now;
  int tapX;
  DWORD hour;
  DWORD minute;
  const char* wakeUp;
};

// A case prints as its name: in the test's name and in a failure's message.
void PrintTo(const EndTimeCase& c, std::ostream* out) { *out << c.name; }

class TimerEndTime : public ::testing::TestWithParam<EndTimeCase> {};

TEST_P(TimerEndTime, ADurationEndsInTheTargetModeAndWakesThePhoneThen) {
  const EndTimeCase& c = GetParam();
  TimerPhone phone(c.now);
  phone.Run({"2:3", "24:150"}, TapInBar(c.tapX));

  auto stop = StopOf(3);
  ASSERT_TRUE(stop);
  EXPECT_EQ(stop->hour, c.hour);
  EXPECT_EQ(stop->minute, c.minute);
  EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, ModeKey(3), u"ModeBackTemp"), 2u);
  for (int mode : {1, 2, 4, 5}) {
    auto other = StopOf(mode);
    ASSERT_TRUE(other) << mode;
    EXPECT_EQ(other->hour, 0u);
    EXPECT_EQ(other->minute, 0u);
  }
  EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, Root, u"TimeSwitch"), 4u);
  EXPECT_EQ(TimerPhone::WakeUps(),
            std::vector<std::string>{std::string("CeRunAppAtTime \"\\Program files\\Selvane\\Lumist.exe\" ") + c.wakeUp});
}

INSTANTIATE_TEST_SUITE_P(
    Examples, TimerEndTime,
    ::testing::Values(EndTimeCase{"At102059For15", "2005-03-01 10:20:59", Tap15, 10, 35, "2005-03-01 10:35:05"},
                      EndTimeCase{"At2350For15", "2005-03-01 23:50:00", Tap15, 0, 5, "2005-03-02 00:05:05"},
                      EndTimeCase{"At2300For60", "2005-03-01 23:00:00", Tap60, 0, 1, "2005-03-02 00:01:05"},
                      EndTimeCase{"At2230For180", "2005-03-01 22:30:00", Tap180, 1, 30, "2005-03-02 01:30:05"}),
    ::testing::PrintToStringParamName());

// Runs one tap at 10:00 and tells the minutes it chose, 0 for a cancel.
int MinutesChosenAt(TimerPhone& phone, int x) {
  DeleteModes();
  phone.Run({"2:3", "24:150"}, TapInBar(x));
  auto stop = StopOf(3);
  EXPECT_TRUE(stop) << x;
  if (!stop) return -1;
  if (stop->hour == 0 && stop->minute == 0) return 0;
  return int(stop->hour - 10) * 60 + int(stop->minute);
}

TEST(TimerCells, NarrowScreenTakesItsCellLimits) {
  TimerPhone phone("2005-03-01 10:00:00", 240, 320);
  EXPECT_EQ(MinutesChosenAt(phone, 35), 15);
  EXPECT_EQ(MinutesChosenAt(phone, 36), 30);
  EXPECT_EQ(MinutesChosenAt(phone, 204), 180);
  EXPECT_EQ(MinutesChosenAt(phone, 205), 0);
}

TEST(TimerCells, WideScreenTakesItsCellLimits) {
  TimerPhone phone("2005-03-01 10:00:00", 320, 240);
  EXPECT_EQ(MinutesChosenAt(phone, 48), 15);
  EXPECT_EQ(MinutesChosenAt(phone, 49), 30);
  EXPECT_EQ(MinutesChosenAt(phone, 94), 30);
  EXPECT_EQ(MinutesChosenAt(phone, 95), 45);
  EXPECT_EQ(MinutesChosenAt(phone, 277), 180);
  EXPECT_EQ(MinutesChosenAt(phone, 278), 0);
}

// A switch back to "Home" (mode 4) pending in mode 2.
void SeedPendingSwitch(DWORD hour, DWORD minute) {
  SetDword(HKEY_LOCAL_MACHINE, ModeKey(2), u"StopHourTemp", hour);
  SetDword(HKEY_LOCAL_MACHINE, ModeKey(2), u"StopMinutesTemp", minute);
  SetDword(HKEY_LOCAL_MACHINE, ModeKey(2), u"ModeBackTemp", 4);
  SetText(HKEY_LOCAL_MACHINE, ModeKey(4), u"Mode Name", u"Home");
}

TEST(TimerPendingSwitch, ShowsWhenAndWhereThePhoneSwitchesBack) {
  TimerPhone phone("2005-03-01 08:00:00");
  const struct {
    DWORD hour;
    DWORD minute;
    const char* text;
  } cases[] = {{9, 5, "Switching to Home at 09:05"},
               {9, 30, "Switching to Home at 09:30"},
               {14, 5, "Switching to Home at 14:05"},
               {14, 30, "Switching to Home at 14:30"}};
  for (const auto& c : cases) {
    SeedPendingSwitch(c.hour, c.minute);
    phone.Run({"2:3", "30:100"}, phone.DumpLine("pending.json"));
    nlohmann::json dump = phone.Dump("pending.json");
    const nlohmann::json* text = Control(dump, SwitchText);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ((*text)["text"], c.text);
    EXPECT_EQ((*text)["visible"], true);
    // Ten pixels into the bar's inside, at half its height less eight.
    EXPECT_EQ((*text)["rect"], nlohmann::json::parse("[11, 107, 175, 30]"));
    EXPECT_EQ((*Window(dump))["rect"], nlohmann::json::parse("[0, 99, 240, 32]"));
  }
}

TEST(TimerPendingSwitch, AcceptsOnlyTheCancelCell) {
  TimerPhone phone("2005-03-01 08:00:00");
  SeedPendingSwitch(9, 5);
  SetDword(HKEY_LOCAL_MACHINE, Root, u"TimeSwitch", 6);
  phone.Run({"2:3", "24:150"}, TapInBar(Tap15) + TapInBar(Tap180) + TapInBar(204) + phone.DumpLine("after.json"));

  // The duration taps left everything as it was and the bar up.
  EXPECT_EQ((*Window(phone.Dump("after.json")))["visible"], true);
  auto stop = StopOf(2);
  ASSERT_TRUE(stop);
  EXPECT_EQ(stop->hour, 9u);
  EXPECT_EQ(stop->minute, 5u);
  EXPECT_FALSE(StopOf(3));
  EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, Root, u"TimeSwitch"), 6u);
  EXPECT_TRUE(TimerPhone::WakeUps().empty());
}

TEST(TimerPendingSwitch, CancelClearsItRecordsTheBackModeAndReschedules) {
  TimerPhone phone("2005-03-01 08:00:00");
  SeedPendingSwitch(9, 5);
  SetDword(HKEY_LOCAL_MACHINE, Root, u"TimeSwitch", 6);
  SetDword(HKEY_LOCAL_MACHINE, ModeKey(1), u"StartHour", 11);
  SetDword(HKEY_LOCAL_MACHINE, ModeKey(1), u"StartMinutes", 0);
  phone.Run({"2:3", "24:150"}, TapInBar(TapCancel));

  for (int mode = 1; mode <= 5; ++mode) {
    auto stop = StopOf(mode);
    ASSERT_TRUE(stop) << mode;
    EXPECT_EQ(stop->hour, 0u) << mode;
    EXPECT_EQ(stop->minute, 0u) << mode;
  }
  EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, ModeKey(3), u"ModeBackTemp"), 2u);
  EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, Root, u"TimeSwitch"), 2u);
  EXPECT_EQ(TimerPhone::WakeUps(),
            std::vector<std::string>{"CeRunAppAtTime \"\\Program files\\Selvane\\Lumist.exe\" 2005-03-01 11:00:05"});
}

// The "TimeSwitch" word after a tap, starting from `before`.
DWORD TimeSwitchAfter(TimerPhone& phone, DWORD before, int x) {
  DeleteModes();
  SetDword(HKEY_LOCAL_MACHINE, Root, u"TimeSwitch", before);
  phone.Run({"2:3", "24:150"}, TapInBar(x));
  return GetDword(HKEY_LOCAL_MACHINE, Root, u"TimeSwitch").value_or(0xDEADu);
}

TEST(TimerTimeSwitch, SettingADurationChangesOnlyTheSetRows) {
  TimerPhone phone("2005-03-01 10:00:00");
  for (DWORD before : {0u, 1u, 2u, 3u}) EXPECT_EQ(TimeSwitchAfter(phone, before, Tap15), before + 4) << before;
  for (DWORD before : {4u, 7u, 8u, 10u, 12u, 100u}) EXPECT_EQ(TimeSwitchAfter(phone, before, Tap15), before) << before;
}

TEST(TimerTimeSwitch, CancelChangesOnlyTheCancelRows) {
  TimerPhone phone("2005-03-01 10:00:00");
  for (DWORD before : {4u, 5u, 6u, 7u}) EXPECT_EQ(TimeSwitchAfter(phone, before, TapCancel), before - 4) << before;
  for (DWORD before : {10u, 11u}) EXPECT_EQ(TimeSwitchAfter(phone, before, TapCancel), before - 2) << before;
  for (DWORD before : {0u, 3u, 8u, 9u, 12u, 100u}) {
    EXPECT_EQ(TimeSwitchAfter(phone, before, TapCancel), before) << before;
  }
}

TEST(TimerTimeSwitch, AMissingWordReadsAsZero) {
  TimerPhone phone("2005-03-01 10:00:00");
  phone.Run({"2:3", "24:150"}, TapInBar(Tap15));
  EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, Root, u"TimeSwitch"), 4u);
  testing_support::DeleteValue(HKEY_LOCAL_MACHINE, Root, u"TimeSwitch");
  ASSERT_FALSE(GetDword(HKEY_LOCAL_MACHINE, Root, u"TimeSwitch"));
  phone.Run({"2:3", "24:150"}, TapInBar(TapCancel));
  EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, Root, u"TimeSwitch"), 0u);
}

TEST(TimerLifetime, WithoutATapTheBarGoesAfterSixSecondsAndTheStoreIsUntouched) {
  TimerPhone phone("2005-03-01 10:00:00");
  SetDword(HKEY_LOCAL_MACHINE, ModeKey(1), u"StartHour", 11);
  SetDword(HKEY_LOCAL_MACHINE, ModeKey(1), u"StartMinutes", 30);
  SetText(HKEY_LOCAL_MACHINE, ModeKey(4), u"Mode Name", u"Home");
  SetDword(HKEY_LOCAL_MACHINE, Root, u"TimeSwitch", 1);
  std::string before = RunProgram("selvane-device", {"reg", "export", RootKey}).out;

  phone.Run({"2:3", "24:150"}, "wait 5500\n" + phone.DumpLine("early.json"));
  EXPECT_EQ((*Window(phone.Dump("early.json")))["visible"], true);
  phone.Run({"2:3", "24:150"}, "wait 6500\n" + phone.DumpLine("late.json"));
  EXPECT_FALSE(std::filesystem::exists(phone.Path("late.json")));

  EXPECT_EQ(RunProgram("selvane-device", {"reg", "export", RootKey}).out, before);
  EXPECT_TRUE(TimerPhone::WakeUps().empty());
}

TEST(TimerCommandLine, WithoutAColonTheBarUsesTheDefaults) {
  TimerPhone phone("2005-03-01 10:00:00");
  phone.Run({}, phone.DumpLine("bar.json") + TapInBar(Tap15));
  EXPECT_EQ((*Window(phone.Dump("bar.json")))["rect"], nlohmann::json::parse("[0, 149, 240, 26]"));
  auto stop = StopOf(1);
  ASSERT_TRUE(stop);
  EXPECT_EQ(stop->hour, 10u);
  EXPECT_EQ(stop->minute, 15u);
  EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, ModeKey(1), u"ModeBackTemp"), 1u);
}

TEST(TimerCommandLine, AShortLineKeepsTheDefaultsOfWhatItLacks) {
  TimerPhone phone("2005-03-01 10:00:00");
  phone.Run({"4:5"}, phone.DumpLine("bar.json") + TapInBar(Tap15));
  EXPECT_EQ((*Window(phone.Dump("bar.json")))["rect"], nlohmann::json::parse("[0, 149, 240, 26]"));
  auto stop = StopOf(5);
  ASSERT_TRUE(stop);
  EXPECT_EQ(stop->minute, 15u);
  EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, ModeKey(5), u"ModeBackTemp"), 4u);

  for (const char* odd : {":", "2:", "2:3 24"}) {
    DeleteModes();
    phone.Run({odd}, phone.DumpLine("odd.json"));
    EXPECT_EQ((*Window(phone.Dump("odd.json")))["rect"], nlohmann::json::parse("[0, 149, 240, 26]")) << odd;
  }
}

}  // namespace
