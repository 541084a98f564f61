// The screen records: a program's place in the stack, the clearing away of
// records whose program ended without removing them, and the input ring.
#include "display/screen_records.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "testing/device_fixture.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class ScreenRecordsTest : public testing_support::DeviceTest {
 protected:
  void TearDown() override {
    RemoveOwnScreenRecord();
    DeviceTest::TearDown();
  }

  // A program that makes its record at `stackOrder` and runs until the pipe
  // `gate` is closed (or ends at once, leaving its record behind, without one).
  pid_t StartProgram(uint64_t stackOrder, const int* gate = nullptr) {
    pid_t pid = fork();
    if (pid == 0) {
      std::unique_ptr<ScreenRecord> record = ScreenRecord::Create(240, 320, stackOrder);
      char byte;
      if (gate) {
        close(gate[1]);
        (void)!read(gate[0], &byte, 1);
      }
      _exit(record ? 0 : 1);
    }
    return pid;
  }

  static int Status(pid_t pid) {
    int status = -1;
    waitpid(pid, &status, 0);
    return status;
  }
};

TEST_F(ScreenRecordsTest, ARecordLeftByAnEndedProgramIsClearedAway) {
  pid_t ended = StartProgram(1);
  ASSERT_EQ(Status(ended), 0);
  fs::path left = ScreenRecordsFolder() / std::to_string(ended);
  ASSERT_TRUE(fs::exists(left));
  CreateOwnScreenRecord();
  ASSERT_NE(OwnScreenRecord(), nullptr);
  EXPECT_TRUE(OtherScreenRecords().empty());
  EXPECT_FALSE(fs::exists(left));
  EXPECT_EQ(ScreenRecordOf(ended), nullptr);
}

TEST_F(ScreenRecordsTest, OtherProgramsComeInTheirStackOrderWhileTheyRun) {
  int gate[2];
  ASSERT_EQ(pipe(gate), 0);
  CreateOwnScreenRecord();
  pid_t upper = StartProgram(5, gate);
  pid_t lower = StartProgram(3, gate);
  std::vector<ScreenRecord*> records;
  for (int attempt = 0; attempt < 500 && records.size() < 2; ++attempt) {
    usleep(2000);
    records = OtherScreenRecords();
  }
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0]->pid(), lower);
  EXPECT_EQ(records[1]->pid(), upper);
  EXPECT_TRUE(records[0]->Alive());

  close(gate[1]);
  EXPECT_EQ(Status(upper), 0);
  EXPECT_EQ(Status(lower), 0);
  close(gate[0]);
  EXPECT_TRUE(OtherScreenRecords().empty());
}

TEST_F(ScreenRecordsTest, InputIsTakenInTheOrderSentAndAFullRingRefusesMore) {
  CreateOwnScreenRecord();
  ScreenRecord& own = *OwnScreenRecord();
  EXPECT_FALSE(ScreenInputPending());
  for (int i = 0; i < kScreenInputSlots; ++i)
    ASSERT_TRUE(SendScreenInput(own, ScreenInput{ScreenInputKind::Tap, i, 2 * i}));
  EXPECT_FALSE(SendScreenInput(own, ScreenInput{ScreenInputKind::Ok, 0, 0}));
  for (int i = 0; i < kScreenInputSlots; ++i) {
    ScreenInput input{};
    ASSERT_TRUE(TakeScreenInput(&input));
    EXPECT_EQ(input.kind, ScreenInputKind::Tap);
    EXPECT_EQ(input.x, i);
    EXPECT_EQ(input.y, 2 * i);
  }
  EXPECT_FALSE(ScreenInputPending());
  // Taking made room again.
  EXPECT_TRUE(SendScreenInput(own, ScreenInput{ScreenInputKind::Text, u'a', 0}));
}

}  // namespace
}  // namespace platform
