// Lumist on a phone: started as the phone starts it, it sends twenty silent
// key releases and ends by itself.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/testing/device_fixture.h"

using testing_support::DeviceTest;
using testing_support::ProgramResult;
using testing_support::RunProgram;

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class WakeKeeperTest : public DeviceTest {};

}  // namespace

TEST_F(WakeKeeperTest, SendsTwentySilentKeyReleasesThenEnds) {
  // On a frozen clock only the program's virtual time moves the phone's.
  ASSERT_EQ(RunProgram("selvane-device", {"clock", "set", "2005-03-01 06:59:30", "--frozen"}).status, 0);
  ProgramResult run = RunProgram("selvane-device", {"start", "--wait", "Lumist"});
  EXPECT_EQ(run.status, 0) << run.err;
  // Headless, its twenty seconds pass in virtual time, one key a second.
  std::vector<std::string> timed = Lines(RunProgram("selvane-device", {"journal", "--times"}).out);
  ASSERT_EQ(timed.size(), 20u);
  EXPECT_EQ(timed.front(), "1 2005-03-01 06:59:31 Lumist keybd_event 0x87 0 0x6 0");
  EXPECT_EQ(timed.back(), "20 2005-03-01 06:59:50 Lumist keybd_event 0x87 0 0x6 0");

  ProgramResult journal = RunProgram("selvane-device", {"journal"});
  std::vector<std::string> lines = Lines(journal.out);
  ASSERT_EQ(lines.size(), 20u) << journal.out;
  for (size_t i = 0; i < lines.size(); ++i)
    EXPECT_EQ(lines[i], std::to_string(i + 1) + " Lumist keybd_event 0x87 0 0x6 0");
}

TEST_F(WakeKeeperTest, CommandLineChangesNothing) {
  ProgramResult run = RunProgram("selvane-device", {"start", "--wait", "Lumist.exe", "AppRunAtTime"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(RunProgram("selvane-device", {"journal"}).out).size(), 20u);
}
