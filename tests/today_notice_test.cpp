// The notice of an automatic switch on the Today screen: a daily start or
// stop shows on the item's second line for a minute, or until a tap.
#include "tests/today_support.h"

namespace {

using namespace today_test;

// The second line as shown: empty when hidden.
std::string ShownSwitchLine(const nlohmann::json& dump) {
  bool visible = false;
  std::string text = ControlText(dump, SwitchLine, &visible);
  return visible ? text : "";
}

TEST(TodayNotice, AnAutomaticSwitchShowsForAMinuteOrUntilATap) {
  TodayPhone phone("2026-12-09 22:29:50");
  phone.SetDailyStart(2, 22, 30, 0);
  phone.SetDword(ModeKey(2), "StopHour", 22);
  phone.SetDword(ModeKey(2), "StopMinutes", 32);
  phone.SetDword(ModeKey(2), "ModeBack", 1);
  phone.Run("wait 20000\ndump " + phone.Path("start.json") + "\ntap 120 250\ndump " + phone.Path("tapped.json") +
            "\nwait 120000\ndump " + phone.Path("stop.json") + "\nwait 61000\ndump " + phone.Path("later.json") +
            "\n");

  EXPECT_EQ(ShownSwitchLine(phone.Dump("start.json")), "M2 since 22:30 (daily start)");
  // Tapped away, the line names the next switch of the day again.
  EXPECT_EQ(ShownSwitchLine(phone.Dump("tapped.json")), "M1 at 22:32");
  EXPECT_EQ(ShownSwitchLine(phone.Dump("stop.json")), "M1 since 22:32 (daily stop)");
  EXPECT_EQ(ShownSwitchLine(phone.Dump("later.json")), "");
  // The journal lines stay as they are.
  auto today = JournalOf("SelvaneToday");
  EXPECT_EQ(Count(today, "ModeSwitch 2 \"M2\" daily start"), 1);
  EXPECT_EQ(Count(today, "ModeSwitch 1 \"M1\" daily stop"), 1);
}

TEST(TodayNotice, ASwitchByHandShowsNoNotice) {
  TodayPhone phone("2026-12-09 10:00:00");
  phone.Run(TodayPhone::TapPicture(2) + "dump " + phone.Path("hand.json") + "\n");
  EXPECT_EQ(ShownSwitchLine(phone.Dump("hand.json")).find("since"), std::string::npos);
}

}  // namespace
