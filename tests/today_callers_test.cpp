// The Today item's watch on the line: with "Night" active and silent, the
// callers its rules let through ring at its "AllowVolume", every other call
// is silent, and the ring volume is Night's again once the calls end.
#include <string>
#include <vector>

#include "tests/today_support.h"

namespace today_test {
namespace {

const char* const VolumeKey = "HKCU\\ControlPanel\\Volume";
const char* const Mum = "5551234";
const char* const Stranger = "5550000";
// Night comes on by a tap on its picture; the timer bar it starts goes away.
const std::string NightOn = TodayPhone::TapPicture(2) + "wait 7000\n";

// A call that rings, goes on a while (doing `during`) and ends; "" has no caller ID.
std::string Call(const std::string& number, const std::string& during = "") {
  return (number.empty() ? "call" : "call " + number) + "\nwait 2000\n" + during + "hang up\nwait 1000\n";
}

// The lines of the journal about calls, in order.
std::vector<std::string> CallLines() {
  std::vector<std::string> lines;
  for (const auto& line : platform::JournalRead())
    if (line.text.rfind("Ring ", 0) == 0 || line.text.rfind("ModeException ", 0) == 0) lines.push_back(line.text);
  return lines;
}

class CallersInNight : public ::testing::Test {
 protected:
  CallersInNight() : phone_("2026-12-09 12:00", Store::Prepared) {
    phone_.SetDword(ModeKey(2), "Phone Volume", 0);
    phone_.SetText(ModeKey(2), "AllowCategory", "Family");
    phone_.SetDword(ModeKey(2), "AllowVolume", 5);
    phone_.Tool({"contacts", "add", "Mum", Mum, "--category", "Friends", "--category", "family"});
    phone_.Tool({"contacts", "add", "Bob", "5557777", "--category", "Friends"});
  }
  DWORD Ringer() { return phone_.Dword(VolumeKey, "Ringer").value_or(1); }

  TodayPhone phone_;
};

TEST_F(CallersInNight, TheCategoryAndASecondCallRingAndNightIsBackAfterEachCall) {
  phone_.Run(NightOn + Call(Mum) + Call(Stranger) + "wait 60000\n" + Call(Stranger) + "wait 240000\n" +
             Call(Stranger));
  EXPECT_EQ(CallLines(), (std::vector<std::string>{
                             "ModeException 5551234 \"Mum\" rings: category \"Family\"",
                             "Ring 5551234 volume 5 tone \"BellDitty .wma\"",
                             "Ring 5550000 silent",
                             "ModeException 5550000 \"\" rings: second call in 3 minutes",
                             "Ring 5550000 volume 5 tone \"BellDitty .wma\"",
                             "Ring 5550000 silent",
                         }));
  EXPECT_EQ(Ringer(), 0u);
}

TEST_F(CallersInNight, TheRingVolumeIsNightsAgainOnceTheAllowedCallEnds) {
  phone_.Run(NightOn + Call(Mum));
  EXPECT_EQ(CallLines().back(), "Ring 5551234 volume 5 tone \"BellDitty .wma\"");
  EXPECT_EQ(Ringer(), 0u);
}

TEST_F(CallersInNight, AContactOutsideTheCategoryAndAWithheldNumberAreSilentEvenWhenRepeated) {
  phone_.Run(NightOn + Call("5557777") + Call("") + Call(""));
  EXPECT_EQ(CallLines(), (std::vector<std::string>{"Ring 5557777 silent", "Ring withheld silent",
                                                   "Ring withheld silent"}));
}

TEST_F(CallersInNight, ARepeatRingsAtTwoFiftyNineButNotAtThreeOhOne) {
  // Each call is counted from the one before it: 2:59 after the first, then
  // 3:01 after the second.
  phone_.Run(NightOn + "call 5550000\nwait 1000\nhang up\nwait 178000\ncall 5550000\nwait 1000\nhang up\nwait 180000\n" +
             Call(Stranger));
  EXPECT_EQ(CallLines(), (std::vector<std::string>{
                             "Ring 5550000 silent",
                             "ModeException 5550000 \"\" rings: second call in 3 minutes",
                             "Ring 5550000 volume 5 tone \"BellDitty .wma\"",
                             "Ring 5550000 silent",
                         }));
}

TEST_F(CallersInNight, ACallWaitingBehindAnAllowedOneRingsAsTheModeSays) {
  phone_.Run(NightOn + "call 5551234\nwait 2000\ncall 5550000\nwait 2000\nhang up 5551234\nwait 1000\n" +
             "hang up\nwait 1000\n");
  EXPECT_EQ(CallLines(), (std::vector<std::string>{
                             "ModeException 5551234 \"Mum\" rings: category \"Family\"",
                             "Ring 5551234 volume 5 tone \"BellDitty .wma\"",
                             "Ring 5550000 silent",
                         }));
  EXPECT_EQ(Ringer(), 0u);
}

TEST_F(CallersInNight, ASwitchDuringTheCallLeavesTheNewModesVolumeAfterIt) {
  phone_.SetDword(ModeKey(4), "Phone Volume", 2);
  phone_.Run(NightOn + Call(Mum, TodayPhone::TapPicture(4) + "wait 7000\n"));
  EXPECT_EQ(phone_.ActiveMode(), 4u);
  EXPECT_EQ(Ringer(), 0x66666666u);
}

TEST_F(CallersInNight, AStoreWithoutTheRulesLetsNobodyThrough) {
  for (const char* name : {"AllowCategory", "AllowVolume", "RepeatCalls"})
    phone_.Tool({"reg", "delete", ModeKey(2), name});
  phone_.Run(NightOn + Call(Mum) + Call(Mum));
  EXPECT_EQ(CallLines(), (std::vector<std::string>{"Ring 5551234 silent", "Ring 5551234 silent"}));
}

}  // namespace
}  // namespace today_test
