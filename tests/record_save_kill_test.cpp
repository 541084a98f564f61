// "Import" and "Save" killed at any instant: after the kill and one start of
// the settings program, the mode's record (its values, its name and its
// notification entries) is wholly the old one or wholly the new one.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "tests/kill_support.h"
#include "tests/settings_support.h"

namespace fs = std::filesystem;
using testing_support::RunProgram;
using testing_support::TempDevice;
using testing_support::WriteFile;

namespace {

const std::string kModeThreeKey = "HKLM\\Software\\Microsoft\\Today\\Items\\Selvane\\Mode 3";

// The mode's record as the device tool exports it, notification entries included.
std::string ModeThree() { return RunProgram("selvane-device", {"reg", "export", kModeThreeKey}).out; }

class RecordSaveKill : public ::testing::Test {
 protected:
  // A prepared store with "Office" (mode 3) active, so that the settings
  // program opens on it.
  void SetUp() override {
    Run("selvane-device", {"run"}, "wait 100\n");
    settings_test::SetDword(HKEY_LOCAL_MACHINE, settings_test::kStoreRoot, u"DefaultMode", 3);
  }
  void TearDown() override { fs::remove(Saved()); }

  fs::path Saved() const { return device_.folder().parent_path() / "base-phone.db"; }
  fs::path Script(const std::string& name, const std::string& text) const {
    return WriteFile(device_.folder().parent_path() / name, text);
  }
  void Run(const std::string& program, const std::vector<std::string>& args, const std::string& script) {
    auto run = RunProgram(program, args, {{"SELVANE_INPUT", Script("run.txt", script).string()}});
    ASSERT_EQ(run.status, 0) << run.err;
  }

  // Runs the settings program with `script` once whole, then kills it in
  // `rounds` rounds (every other one within the copy into the mode key);
  // after each kill and one start, the record is the old or the new one.
  void KillRounds(const std::string& script, int rounds) {
    kill_test::SaveDatabase(device_.folder(), Saved());
    const std::string before = ModeThree();
    bool killed = false;
    const fs::path path = Script("killed.txt", script);
    const auto times = kill_test::RunAndKill("SelvaneSettings", {}, path, {}, u"SaveUnderway", &killed);
    const std::string after = ModeThree();
    ASSERT_NE(before, after);

    std::mt19937 random(20261210);
    int interrupted = 0;
    for (int round = 0; round < rounds; ++round) {
      kill_test::RestoreDatabase(device_.folder(), Saved());
      const bool withinCopy = round % 2 == 1;
      const auto span = std::max<int64_t>(1, (withinCopy ? times.recorded : times.whole).count());
      kill_test::KillInstant instant{std::chrono::microseconds(random() % span),
                                     withinCopy ? u"SaveUnderway" : nullptr};
      SCOPED_TRACE("killed " + std::to_string(instant.delay.count()) + " us after " +
                   (withinCopy ? "the save was marked" : "the start"));
      kill_test::RunAndKill("SelvaneSettings", {}, path, instant, nullptr, &killed);
      if (killed && kill_test::RecordPresent(u"SaveUnderway")) ++interrupted;
      Run("SelvaneSettings", {}, "");
      const std::string record = ModeThree();
      EXPECT_TRUE(record == before || record == after) << "a mixed record:\n" << record;
      EXPECT_FALSE(kill_test::RecordPresent(u"SaveUnderway"));
      EXPECT_NE(RunProgram("selvane-device", {"reg", "get", std::string(kStoreRootText) + "\\Saving"}).status, 0)
          << "the scratch key is left";
    }
    EXPECT_GT(interrupted, 0) << "no kill fell within a save";
  }

  static constexpr const char* kStoreRootText = "HKLM\\Software\\Microsoft\\Today\\Items\\Selvane";
  TempDevice device_;
};

TEST_F(RecordSaveKill, AnImportKilledHalfWayLeavesTheOldRecordOrTheImportedOne) {
  // The file of mode 3 holds another "Office": values, name and entries.
  kill_test::SaveDatabase(device_.folder(), Saved());
  for (auto [name, value] : {std::pair{u"System Volume", 1u}, {u"StartHour", 7u}, {u"StartMinutes", 30u},
                             {u"Days", 0x1000000u}, {u"BT State", 2u}})
    settings_test::SetModeDword(3, name, value);
  settings_test::SetModeText(3, u"Mode Name", u"Imported");
  settings_test::SetDword(HKEY_LOCAL_MACHINE, settings_test::EntryKey(3, u"Reminders"), u"Options", 0x40000003);
  Run("SelvaneSettings", {}, "click 1081\n");
  // The store goes back to the prepared "Office"; the file stays.
  kill_test::RestoreDatabase(device_.folder(), Saved());
  KillRounds("click 1080\n", 24);
}

TEST_F(RecordSaveKill, ASaveKilledHalfWayLeavesTheOldRecordOrTheSavedOne) {
  KillRounds("type 1004 Renamed\nslide 1006 1\nclick 1104\nclick 1009\n", 24);
}

}  // namespace
