// Kestrow, the Bluetooth helper, run as the phone runs it: on a phone with
// the Microsoft stack and on one with the Widcomm stack, read back through
// the journal and the registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/device/device.h"
#include "platform/kernel/clock.h"
#include "platform/kernel/journal.h"
#include "platform/testing/device_fixture.h"
#include "platform/testing/registry_values.h"

using testing_support::RunProgram;
using testing_support::TempDevice;

namespace {

const WCHAR kWidcommKey[] = u"SOFTWARE\\Widcomm\\BtConfig\\General";

// Runs Kestrow with the command line and returns what it journalled.
std::vector<std::string> RunKestrow(const std::vector<std::string>& args) {
  platform::JournalClear();
  // On a frozen clock only the program's virtual time moves the phone's.
  int64_t start = 0;
  EXPECT_TRUE(platform::ParseLocalTime("2005-03-01 07:00:00", &start));
  platform::SetDeviceClock(start, true);
  auto result = RunProgram("Kestrow", args);
  EXPECT_EQ(result.status, 0) << result.err;
  std::vector<std::string> lines;
  for (const auto& line : platform::JournalRead()) {
    EXPECT_EQ(line.program, "Kestrow");
    // Headless, its second of timers and five of waiting pass in virtual
    // time: every call falls within them.
    int64_t at = 0;
    EXPECT_TRUE(platform::ParseLocalTime(line.time, &at)) << line.time;
    EXPECT_LE(at - start, 6000) << line.time;
    lines.push_back(line.text);
  }
  return lines;
}

// The Widcomm stack's state as the tray keeps it.
std::optional<DWORD> StackMode() { return testing_support::GetDword(HKEY_LOCAL_MACHINE, kWidcommKey, u"StackMode"); }

using Lines = std::vector<std::string>;

TEST(KestrowTest, OnTheMicrosoftStackEachStateSetsItsMode) {
  TempDevice device;
  EXPECT_EQ(RunKestrow({"2"}), Lines{"BthSetMode 2"});
  EXPECT_EQ(platform::DeviceValue("bt.mode"), "2");
  EXPECT_EQ(RunKestrow({"1"}), Lines{"BthSetMode 1"});
  EXPECT_EQ(RunKestrow({"0"}), Lines{"BthSetMode 0"});
  EXPECT_EQ(RunKestrow({"3"}), Lines{});
  // No command line means the Widcomm stack on: the Microsoft one goes off.
  EXPECT_EQ(RunKestrow({}), Lines{"BthSetMode 0"});
  // The command line is read as a number the way _wtol reads it.
  EXPECT_EQ(RunKestrow({"2abc"}), Lines{"BthSetMode 2"});
  EXPECT_EQ(RunKestrow({"on"}), Lines{"BthSetMode 0"});
  EXPECT_EQ(RunKestrow({"7"}), Lines{});
}

TEST(KestrowTest, OnTheWidcommStackItSwitchesThroughTheTrayAndWaitsForTheStack) {
  platform::DeviceOptions options;
  options.widcomm = true;
  TempDevice device(options);
  ASSERT_EQ(StackMode(), 0u);
  EXPECT_EQ(RunKestrow({"4"}), (Lines{"BthSetMode 0 failed", "WCE_BTTRAY WM_COMMAND 0x1002"}));
  EXPECT_EQ(StackMode(), 1u);
  // Already on: nothing is sent to the tray.
  EXPECT_EQ(RunKestrow({"4"}), Lines{"BthSetMode 0 failed"});
  EXPECT_EQ(RunKestrow({"2"}), (Lines{"WCE_BTTRAY WM_COMMAND 0x1001", "BthSetMode 2 failed"}));
  EXPECT_EQ(StackMode(), 0u);
  EXPECT_EQ(RunKestrow({"0"}), Lines{"BthSetMode 0 failed"});
  EXPECT_EQ(RunKestrow({"3"}), Lines{});
  EXPECT_EQ(RunKestrow({}), (Lines{"BthSetMode 0 failed", "WCE_BTTRAY WM_COMMAND 0x1002"}));
  EXPECT_EQ(StackMode(), 1u);
}

TEST(KestrowTest, WidcommKeyWithoutItsValueCountsAsOff) {
  platform::DeviceOptions options;
  options.widcomm = true;
  TempDevice device(options);
  ASSERT_TRUE(StackMode());
  testing_support::DeleteValue(HKEY_LOCAL_MACHINE, kWidcommKey, u"StackMode");
  ASSERT_FALSE(StackMode());
  EXPECT_EQ(RunKestrow({"4"}), (Lines{"BthSetMode 0 failed", "WCE_BTTRAY WM_COMMAND 0x1002"}));
  EXPECT_EQ(StackMode(), 1u);
}

}  // namespace
