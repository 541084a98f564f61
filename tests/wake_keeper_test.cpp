// Lumist on a phone: started as the phone starts it, it sends twenty silent
// key releases and ends by itself.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "testing/device_fixture.h"

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
  auto begin = std::chrono::steady_clock::now();
  ProgramResult run = RunProgram("selvane-device", {"start", "--wait", "Lumist"});
  auto took = std::chrono::steady_clock::now() - begin;
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_LT(took, std::chrono::seconds(5));  // headless: virtual time, not twenty real seconds

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
