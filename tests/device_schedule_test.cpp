// The device tool's clock, state and start commands, as a user drives them.
#include <gtest/gtest.h>
#include <notify.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "platform/device/device.h"
#include "platform/testing/device_fixture.h"

namespace fs = std::filesystem;
using testing_support::DeviceTest;
using testing_support::ProgramResult;
using testing_support::RunProgram;

namespace {

class DeviceScheduleTest : public DeviceTest {
 protected:
  ProgramResult Tool(const std::vector<std::string>& args, const std::map<std::string, std::string>& env = {}) {
    ProgramResult result = RunProgram("selvane-device", args, env);
    platform::CloseDeviceDb();
    return result;
  }
};

}  // namespace

TEST_F(DeviceScheduleTest, ClockIsSetShownAndRefusesImpossibleTimes) {
  EXPECT_EQ(Tool({"clock", "set", "2004-02-29 23:59:30", "--frozen"}).status, 0);
  EXPECT_EQ(Tool({"clock"}).out, "2004-02-29 23:59:30 (frozen)\n");
  ProgramResult bad = Tool({"clock", "set", "2005-02-29 10:00:00"});
  EXPECT_NE(bad.status, 0);
  EXPECT_NE(bad.err.find("2005-02-29"), std::string::npos);
  EXPECT_EQ(Tool({"clock"}).out, "2004-02-29 23:59:30 (frozen)\n");

  EXPECT_EQ(Tool({"clock", "set", "2005-03-01 07:00:00"}).status, 0);
  std::string running = Tool({"clock"}).out;
  EXPECT_EQ(running.rfind("2005-03-01 07:00:", 0), 0u) << running;
}

TEST_F(DeviceScheduleTest, StateShowsTheClockAndTheTimedStarts) {
  Tool({"clock", "set", "2005-03-01 06:00:00", "--frozen"});
  ProgramResult empty = Tool({"state"});
  EXPECT_EQ(empty.status, 0);
  EXPECT_NE(empty.out.find("clock: 2005-03-01 06:00:00 (frozen)\n"), std::string::npos) << empty.out;
  EXPECT_NE(empty.out.find("timed starts: none\n"), std::string::npos) << empty.out;

  SYSTEMTIME at{};
  at.wYear = 2005;
  at.wMonth = 3;
  at.wDay = 1;
  at.wHour = 7;
  at.wSecond = 5;
  ASSERT_TRUE(CeRunAppAtTime(u"\\Program files\\Selvane\\Lumist.exe", &at));
  platform::CloseDeviceDb();
  ProgramResult state = Tool({"state"});
  EXPECT_NE(state.out.find("timed starts:\n  2005-03-01 07:00:05 \"\\Program files\\Selvane\\Lumist.exe\"\n"),
            std::string::npos)
      << state.out;
}

TEST_F(DeviceScheduleTest, StartPassesTheCommandLineAndTheExitStatus) {
  fs::path bin = device_->folder().parent_path() / "bin";
  fs::path record = device_->folder().parent_path() / "args.txt";
  fs::path script = testing_support::WriteFile(
      bin / "Kestrow", "#!/bin/sh\necho \"$#:$1:${SELVANE_INPUT-unset}\" > " + record.string() + "\nexit 7\n");
  fs::permissions(script, fs::perms::owner_all);

  std::map<std::string, std::string> env = {{"SELVANE_BIN", bin.string()}, {"SELVANE_INPUT", "/tmp/s.txt"}};
  ProgramResult run = Tool({"start", "--wait", "Kestrow", "-x", "2"}, env);
  EXPECT_EQ(run.status, 7) << run.err;
  EXPECT_EQ(testing_support::ReadFile(record), "1:-x 2:/tmp/s.txt\n");

  ProgramResult missing = Tool({"start", "--wait", "\\Temp\\none.exe"});
  EXPECT_NE(missing.status, 0);
  EXPECT_NE(missing.err.find("no installed program"), std::string::npos) << missing.err;
  EXPECT_NE(Tool({"start"}).status, 0);
}
