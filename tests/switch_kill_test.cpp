// Switches killed at any instant: the Today item during a switch by hand,
// the timer bar while it writes a temporary switch, the settings program
// while "ok" applies the active mode. After the kill and one start of the
// phone, "DefaultMode", the phone's settings, "LastSwitchTime" and the last
// ModeSwitch line of the journal agree: no switch is left half done.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>

#include "platform/kernel/journal.h"
#include "tests/kill_support.h"
#include "tests/settings_support.h"

namespace fs = std::filesystem;
using kill_test::RunAndKill;
using settings_test::GetDword;
using settings_test::GetText;
using settings_test::kStoreRoot;
using testing_support::RunProgram;
using testing_support::TempDevice;
using testing_support::WriteFile;

namespace {

// What the phone does with a mode: the hardware lines of `state` and the
// phone's own settings keys.
std::string PhoneSettings() {
  std::istringstream state(RunProgram("selvane-device", {"state"}).out);
  std::string settings;
  for (std::string line; std::getline(state, line);)
    for (const char* kept : {"radio:", "bluetooth", "headset:", "wave volume:"})
      if (line.rfind(kept, 0) == 0) settings += line + "\n";
  settings += RunProgram("selvane-device", {"reg", "export", "HKEY_CURRENT_USER"}).out;
  return settings;
}

std::string LastModeSwitch() {
  std::string last;
  for (const auto& line : platform::JournalRead())
    if (line.text.rfind("ModeSwitch ", 0) == 0) last = line.text;
  return last;
}

class SwitchKill : public ::testing::Test {
 protected:
  // A phone that came on once (the factory modes, "Home" active), whose
  // "Night" (mode 2) differs from "Home" in its radio and Bluetooth too.
  void SetUp() override {
    ASSERT_EQ(RunProgram("selvane-device", {"clock", "set", "2026-12-09 10:00:00", "--frozen"}).status, 0);
    StartPhone();
    // Later switches are made at a later second than the first run's.
    ASSERT_EQ(RunProgram("selvane-device", {"clock", "set", "2026-12-09 10:00:30", "--frozen"}).status, 0);
    settings_test::SetModeDword(2, u"Radio State", 0);
    settings_test::SetModeDword(2, u"BT State", 2);
    baseLastSwitch_ = GetText(HKEY_LOCAL_MACHINE, kStoreRoot, u"LastSwitchTime").value_or("");
    ASSERT_FALSE(baseLastSwitch_.empty());
    kill_test::SaveDatabase(device_.folder(), Saved());
  }
  void TearDown() override { fs::remove(Saved()); }

  fs::path Saved() const { return device_.folder().parent_path() / "base-phone.db"; }
  fs::path Script(const std::string& name, const std::string& text) const {
    return WriteFile(device_.folder().parent_path() / name, text);
  }
  void Restore() { kill_test::RestoreDatabase(device_.folder(), Saved()); }

  // The phone switched on with a short script: the one start after a kill.
  void StartPhone() {
    auto run = RunProgram("selvane-device", {"run"}, {{"SELVANE_INPUT", Script("on.txt", "wait 100\n").string()}});
    ASSERT_EQ(run.status, 0) << run.err;
  }

  // Runs a program through once, uninterrupted, then the phone once: how
  // long it ran and kept `record`, and the phone's settings it leaves.
  kill_test::RunTimes RunWhole(const std::string& program, const std::vector<std::string>& args,
                               const fs::path& script, const char16_t* record, std::string* settings) {
    Restore();
    bool killed = false;
    kill_test::RunTimes times = RunAndKill(program, args, script, {}, record, &killed);
    StartPhone();
    *settings = PhoneSettings();
    return times;
  }

  // Kills the program in `rounds` rounds: every other round at an instant
  // of its whole run, the others at an instant of the time its `record` is
  // in the store; after each, one start of the phone and `check`. Returns
  // in how many rounds the kill left the record behind.
  template <typename Check>
  int KillRounds(const std::string& program, const std::vector<std::string>& args, const fs::path& script,
                 kill_test::RunTimes times, const char16_t* record, int rounds, Check check) {
    std::mt19937 random(20261209);
    int interrupted = 0;
    // A program's writes may take less time than it takes to see its record:
    // every fourth round kills the moment the record appears, and the rounds
    // go on (three times as many at the most) until one kill fell within them.
    for (int round = 0; round < rounds || (interrupted == 0 && round < 3 * rounds); ++round) {
      Restore();
      const bool withinRecord = round % 2 == 1;
      const auto span = std::max<int64_t>(1, (withinRecord ? times.recorded : times.whole).count());
      const int64_t delay = withinRecord && round % 4 == 3 ? 0 : static_cast<int64_t>(random() % span);
      kill_test::KillInstant instant{std::chrono::microseconds(delay), withinRecord ? record : nullptr};
      SCOPED_TRACE(program + " killed " + std::to_string(instant.delay.count()) + " us after " +
                   (withinRecord ? "its record appeared" : "its start"));
      bool killed = false;
      RunAndKill(program, args, script, instant, nullptr, &killed);
      if (killed && kill_test::RecordPresent(record)) ++interrupted;
      StartPhone();
      check();
      if (HasFatalFailure()) break;
    }
    return interrupted;
  }

  // "DefaultMode" names `mode`, the phone has its settings, and the last
  // ModeSwitch line and "LastSwitchTime" are those of the switch to it.
  void ExpectAgreement(DWORD mode, const std::string& settings, const std::string& reason) {
    EXPECT_EQ(PhoneSettings(), settings) << "the phone's settings are not those of mode " << mode;
    const std::string line = LastModeSwitch();
    EXPECT_EQ(line.rfind("ModeSwitch " + std::to_string(mode) + " ", 0), 0u) << line;
    EXPECT_NE(line.find(reason), std::string::npos) << line;
    const std::string lastSwitch = GetText(HKEY_LOCAL_MACHINE, kStoreRoot, u"LastSwitchTime").value_or("");
    if (reason == "first run")
      EXPECT_EQ(lastSwitch, baseLastSwitch_);
    else
      EXPECT_NE(lastSwitch, baseLastSwitch_) << "the switch to mode " << mode << " left no LastSwitchTime";
    for (const char16_t* record : {u"SwitchUnderway", u"TemporaryUnderway", u"ApplyUnderway"})
      EXPECT_FALSE(GetText(HKEY_LOCAL_MACHINE, kStoreRoot, record).has_value()) << "a record is left";
  }

  TempDevice device_;
  std::string baseLastSwitch_;
};

TEST_F(SwitchKill, TheItemKilledDuringASwitchByHandIsFinishedByTheNextStart) {
  // A tap on "Night"'s picture; the timer bar it starts goes away by itself.
  const fs::path tap = Script("tap.txt", "tap 72 124\nwait 8000\n");
  std::string home = PhoneSettings();
  std::string night;
  const auto times = RunWhole("SelvaneToday", {}, tap, u"SwitchUnderway", &night);
  ASSERT_EQ(GetDword(HKEY_LOCAL_MACHINE, kStoreRoot, u"DefaultMode"), 2u);
  ASSERT_NE(home, night);

  const int interrupted = KillRounds("SelvaneToday", {}, tap, times, u"SwitchUnderway", 40, [&] {
    DWORD active = GetDword(HKEY_LOCAL_MACHINE, kStoreRoot, u"DefaultMode").value_or(0);
    ASSERT_TRUE(active == 2 || active == 4) << active;
    if (active == 2)
      ExpectAgreement(2, night, "by hand");
    else
      ExpectAgreement(4, home, "first run");
  });
  EXPECT_GT(interrupted, 0) << "no kill fell within a switch";
}

TEST_F(SwitchKill, TheTimerBarKilledWhileWritingLeavesTheWholeTemporarySwitchOrNone) {
  // 15 minutes of "Night" from 10:00, then back to "Home".
  const fs::path tap = Script("bar.txt", "tap 20 162\n");
  const std::vector<std::string> command{"4:2", "24:150"};
  std::string home = PhoneSettings();
  std::string night;
  const auto times = RunWhole("SelvaneTimer", command, tap, u"TemporaryUnderway", &night);
  ASSERT_EQ(GetDword(HKEY_LOCAL_MACHINE, kStoreRoot, u"DefaultMode"), 2u);

  const int interrupted = KillRounds("SelvaneTimer", command, tap, times, u"TemporaryUnderway", 30, [&] {
    const DWORD timeSwitch = GetDword(HKEY_LOCAL_MACHINE, kStoreRoot, u"TimeSwitch").value_or(0);
    const DWORD hour = settings_test::ModeDword(2, u"StopHourTemp").value_or(0);
    const DWORD minute = settings_test::ModeDword(2, u"StopMinutesTemp").value_or(0);
    if (hour != 0 || minute != 0) {
      EXPECT_EQ(hour, 10u);
      EXPECT_EQ(minute, 15u);
      EXPECT_EQ(settings_test::ModeDword(2, u"ModeBackTemp"), 4u);
      EXPECT_EQ(timeSwitch & 5u, 5u) << "the pending switch is not taken in";
      ExpectAgreement(2, night, "temporary");
    } else {
      EXPECT_EQ(timeSwitch & 5u, 0u);
      ExpectAgreement(4, home, "first run");
    }
  });
  EXPECT_GT(interrupted, 0) << "no kill fell within the bar's writes";
}

TEST_F(SwitchKill, TheSettingsProgramKilledDuringOkLeavesTheOldSettingsOrTheActiveModes) {
  // "Home" was changed in the store since it was applied: "ok" applies it.
  settings_test::SetModeDword(4, u"System Volume", 1);
  settings_test::SetModeDword(4, u"Radio State", 0);
  settings_test::SetModeDword(4, u"BT State", 1);
  kill_test::SaveDatabase(device_.folder(), Saved());
  const fs::path ok = Script("ok.txt", "ok\n");
  std::string before = PhoneSettings();
  std::string after;
  const auto times = RunWhole("SelvaneSettings", {}, ok, u"ApplyUnderway", &after);
  ASSERT_NE(before, after);

  const int interrupted = KillRounds("SelvaneSettings", {}, ok, times, u"ApplyUnderway", 30, [&] {
    EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, kStoreRoot, u"DefaultMode"), 4u);
    const std::string settings = PhoneSettings();
    EXPECT_TRUE(settings == before || settings == after) << "the apply is half done:\n" << settings;
    EXPECT_EQ(LastModeSwitch(), "ModeSwitch 4 \"Home\" first run");
  });
  EXPECT_GT(interrupted, 0) << "no kill fell within the apply";
}

}  // namespace
