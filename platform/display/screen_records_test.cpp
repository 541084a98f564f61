// The screen records: a program's place in the stack, the clearing away of
// records whose program ended without removing them, and the input ring.
#include "screen_records.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "../kernel/program.h"
#include "../testing/device_fixture.h"

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

TEST_F(ScreenRecordsTest, AnyProgramComingOnTheScreenClearsLeftoversAndKeepsTheLiving) {
  int gate[2];
  ASSERT_EQ(pipe(gate), 0);
  pid_t running = StartProgram(2, gate);
  pid_t ended = StartProgram(1);
  ASSERT_EQ(Status(ended), 0);
  fs::path folder = ScreenRecordsFolder();
  for (int attempt = 0; attempt < 500 && !fs::exists(folder / std::to_string(running)); ++attempt) usleep(2000);
  ASSERT_TRUE(fs::exists(folder / std::to_string(running)));
  const std::string dead = std::to_string(ended);
  testing_support::WriteFile(folder / (dead + ".json"), "{}");
  testing_support::WriteFile(folder / "999999990", "");
  testing_support::WriteFile(folder / "999999991", std::string(4096, 'g'));
  testing_support::WriteFile(folder / std::to_string(running + 100000000), std::string(600000, '\0'));
  fs::create_directories(folder / "999999992" / "inside");
  testing_support::WriteFile(folder / ".999999993", "half made");
  testing_support::WriteFile(folder / "notes.txt", "not ours to remove");
  testing_support::WriteFile(folder / (std::to_string(running) + ".json"), "{}");

  CreateOwnScreenRecord();
  ASSERT_NE(OwnScreenRecord(), nullptr);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  std::vector<std::string> expected = {std::to_string(getpid()), std::to_string(running),
                                       std::to_string(running) + ".json", "notes.txt"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);

  std::vector<ProgramOnScreen> programs = ProgramsOnScreen();
  ASSERT_EQ(programs.size(), 2u);
  EXPECT_EQ(programs[0].pid, running);  // stack order 2 lies beneath this one's
  EXPECT_EQ(programs[1].pid, getpid());
  EXPECT_EQ(programs[1].program, ProgramName());
  close(gate[1]);
  EXPECT_EQ(Status(running), 0);
  close(gate[0]);
}

TEST_F(ScreenRecordsTest, LinksInTheScreenFolderAreNeverWrittenThrough) {
  const fs::path host = testing_support::WriteFile(device_->folder() / "host.txt", "the host's own\n");
  const fs::path hostFolder = device_->folder() / "host folder";
  fs::create_directory(hostFolder);
  fs::path folder = ScreenRecordsFolder();
  fs::create_symlink(hostFolder, folder);

  // A program that comes on the screen once links wait at its names.
  int gate[2], ready[2];
  ASSERT_EQ(pipe(gate), 0);
  ASSERT_EQ(pipe(ready), 0);
  pid_t pid = fork();
  if (pid == 0) {
    char byte;
    close(gate[1]);
    (void)!read(gate[0], &byte, 1);
    std::unique_ptr<ScreenRecord> record = ScreenRecord::Create(240, 320, 1);
    (void)!write(ready[1], "r", 1);
    (void)!read(gate[0], &byte, 1);
    _exit(record ? 0 : 1);
  }
  // The screen folder is made a real one by this program's start.
  CreateOwnScreenRecord();
  ASSERT_NE(OwnScreenRecord(), nullptr);
  EXPECT_FALSE(fs::is_symlink(folder));
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_TRUE(fs::is_empty(hostFolder));
  const std::string name = std::to_string(pid);
  for (const std::string& planted : {"." + name, name, name + ".json", "." + name + ".json"})
    fs::create_symlink(host, folder / planted);
  (void)!write(gate[1], "g", 1);
  char byte;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  close(gate[1]);
  EXPECT_EQ(Status(pid), 0);
  close(gate[0]);
  close(ready[0]);
  close(ready[1]);
  EXPECT_EQ(testing_support::ReadFile(host), "the host's own\n");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(host)));
}

TEST_F(ScreenRecordsTest, AnInputLockLeftByADeadSenderIsTakenOver) {
  CreateOwnScreenRecord();
  ScreenRecord& own = *OwnScreenRecord();
  // Held by a process id that holds no record (init's), as a killed sender leaves it.
  own.header().inputLock = 1;
  EXPECT_TRUE(SendScreenInput(own, ScreenInput{ScreenInputKind::Tap, 7, 8}));
  ScreenInput input{};
  ASSERT_TRUE(TakeScreenInput(&input));
  EXPECT_EQ(input.x, 7);
  EXPECT_EQ(own.header().inputLock.load(), 0u);

  // A live holder that never lets go: the sender gives up instead of spinning.
  int gate[2];
  ASSERT_EQ(pipe(gate), 0);
  pid_t holder = StartProgram(3, gate);
  for (int attempt = 0; attempt < 500 && !ScreenRecordOf(holder); ++attempt) usleep(2000);
  ASSERT_NE(ScreenRecordOf(holder), nullptr);
  own.header().inputLock = uint32_t(holder);
  EXPECT_FALSE(SendScreenInput(own, ScreenInput{ScreenInputKind::Tap, 9, 9}));
  EXPECT_FALSE(ScreenInputPending());
  close(gate[1]);
  EXPECT_EQ(Status(holder), 0);
  close(gate[0]);
  // Its holder gone, the lock is free for the next sender.
  EXPECT_TRUE(SendScreenInput(own, ScreenInput{ScreenInputKind::Ok, 0, 0}));
}

}  // namespace
}  // namespace platform
