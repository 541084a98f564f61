// The clock of a program that another program starts: it goes on from its
// starter's time, not from the device clock, so that with the clock frozen
// or in virtual time a child never sees an earlier time than its parent.
#include <gtest/gtest.h>

#include <string>

#include "platform/device/device.h"
#include "platform/kernel/clock.h"
#include "platform/testing/device_fixture.h"

using testing_support::ProgramResult;
using testing_support::RunProgram;

namespace {

// Only the phone's own programs start from the device: the probe stands in
// for Lumist in a program folder of the test's own.
class ProgramClockTest : public testing_support::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    bin_ = device_->folder().parent_path() / "bin";
    std::filesystem::create_directories(bin_);
    std::filesystem::create_symlink(std::filesystem::absolute(testing_support::ProgramFolder()) / "selvane-clock-probe",
                                    bin_ / "Lumist");
    testing_support::WriteFile(device_->fs() / "Temp" / "ClockProbe.exe", "SELVANE-PROGRAM Lumist\n");
    int64_t ms = 0;
    ASSERT_TRUE(platform::ParseLocalTime("2005-03-01 07:00:00", &ms));
    platform::SetDeviceClock(ms, true);
    platform::CloseDeviceDb();
  }
  std::filesystem::path bin_;
};

}  // namespace

TEST_F(ProgramClockTest, AChildStartsAtItsParentsMovedOnTime) {
  // Headless, the parent's 90-second sleep is virtual: the frozen device
  // clock still says 07:00:00 when the child starts.
  ProgramResult result = RunProgram("selvane-clock-probe", {"parent", "90000", "\\Temp\\ClockProbe.exe"},
                                    {{"SELVANE_BIN", bin_.string()}});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("parent 2005-03-01 07:01:30\n"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("child 2005-03-01 07:01:30\n"), std::string::npos) << result.out;
  // The start time is the child's alone: taken out of its environment.
  EXPECT_EQ(result.out.find(" sees "), std::string::npos) << result.out;
}

// Headless, what a program does at one instant comes before what the
// program it started then does, however fast the child loads; a program
// that waits for its child lets it run first, rather than wait for ever.
TEST_F(ProgramClockTest, AChildTakesItsFirstStepOnceItsStarterLetsIt) {
  for (int run = 0; run < 3; ++run) {
    ProgramResult result = RunProgram("selvane-clock-probe", {"parent", "0", "\\Temp\\ClockProbe.exe"},
                                      {{"SELVANE_BIN", bin_.string()}});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "parent 2005-03-01 07:00:00\nchild 2005-03-01 07:00:00\n");
  }
  ProgramResult joined = RunProgram("selvane-clock-probe", {"parent", "0", "\\Temp\\ClockProbe.exe", "join"},
                                    {{"SELVANE_BIN", bin_.string()}});
  ASSERT_EQ(joined.status, 0) << joined.err;
  EXPECT_EQ(joined.out, "child 2005-03-01 07:00:00\nparent 2005-03-01 07:00:00\n");
}

TEST_F(ProgramClockTest, TheDeviceToolStartsAProgramAtTheDeviceTime) {
  // A start time left in the tool's own environment is stale: not passed on.
  ProgramResult result = RunProgram("selvane-device", {"start", "--wait", "\\Temp\\ClockProbe.exe", "child"},
                                    {{platform::kStartTimeVariable, "0"}, {"SELVANE_BIN", bin_.string()}});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "child 2005-03-01 07:00:00\n");
}
