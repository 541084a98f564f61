// selvane-device contacts and call from outside: contacts added and listed,
// a call rung with the phone's ring settings of the moment when no program
// monitors the line, and the refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/device/device.h"
#include "platform/kernel/journal.h"
#include "platform/testing/device_fixture.h"

using testing_support::ProgramResult;
using testing_support::RunProgram;

namespace {

ProgramResult Tool(const std::vector<std::string>& args) {
  ProgramResult result = RunProgram("selvane-device", args);
  platform::CloseDeviceDb();
  return result;
}

std::string LastJournalText() {
  auto journal = platform::JournalRead();
  return journal.empty() ? "" : journal.back().text;
}

class CallToolTest : public testing_support::DeviceTest {};

}  // namespace

TEST_F(CallToolTest, ContactsAreListedInTheOrderAdded) {
  ProgramResult mum = Tool({"contacts", "add", "Mum", "+445551234", "--category", "Family", "--category", "VIP"});
  ASSERT_EQ(mum.status, 0) << mum.err;
  ProgramResult bob = Tool({"contacts", "add", "Bob Smith", "*31#5557777"});
  ASSERT_EQ(bob.status, 0) << bob.err;
  ProgramResult list = Tool({"contacts", "list"});
  EXPECT_EQ(list.out, mum.out.substr(0, mum.out.size() - 1) + "\tMum\t+445551234\tFamily, VIP\n" +
                          bob.out.substr(0, bob.out.size() - 1) + "\tBob Smith\t*31#5557777\t\n");
}

TEST_F(CallToolTest, AnUnwatchedCallRingsWithTheRingSettingsOfTheMoment) {
  ASSERT_EQ(Tool({"reg", "set", "HKCU\\ControlPanel\\Volume", "Ringer", "--dword", "0xCCCCCCCC"}).status, 0);
  ASSERT_EQ(Tool({"reg", "set", "HKCU\\ControlPanel\\Sounds\\RingTone0", "Sound", "--sz", "Chime.wav"}).status, 0);
  ASSERT_EQ(Tool({"call", "incoming", "5551234"}).status, 0);
  EXPECT_EQ(LastJournalText(), "Ring 5551234 volume 4 tone \"Chime.wav\"");
  EXPECT_EQ(Tool({"call", "end"}).status, 0);

  ASSERT_EQ(Tool({"reg", "set", "HKCU\\ControlPanel\\Volume", "Ringer", "--dword", "0"}).status, 0);
  ASSERT_EQ(Tool({"call", "incoming"}).status, 0);
  EXPECT_EQ(LastJournalText(), "Ring withheld silent");
}

TEST_F(CallToolTest, EndingNoCallAndMalformedArgumentsAreRefused) {
  ProgramResult none = Tool({"call", "end"});
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find("no call in progress"), std::string::npos) << none.err;
  ASSERT_EQ(Tool({"call", "incoming", "5551234"}).status, 0);
  EXPECT_EQ(Tool({"call", "end", "5550000"}).status, 1);
  EXPECT_EQ(Tool({"call", "end", "5551234"}).status, 0);
  EXPECT_EQ(Tool({"call", "incoming", "555 1234"}).status, 2);
  EXPECT_EQ(Tool({"call", "incoming", std::string(41, '5')}).status, 2);
  EXPECT_EQ(Tool({"contacts", "add", "Mum", "call-me"}).status, 2);
  EXPECT_EQ(Tool({"contacts", "add", "Mum, Dad", "5551234"}).status, 2);
  EXPECT_EQ(Tool({"contacts", "add", "Mum", "5551234", "--category", "A,B"}).status, 2);
  EXPECT_EQ(Tool({"contacts", "list"}).out, "");
}
