// The week view on the phone: a tap on the Today screen's date line shows
// the week ahead over the screen in either orientation, drawn by the code
// that draws `week --png`, and the shell's "ok" closes it.
#include "tests/golden_pictures.h"
#include "tests/today_support.h"

namespace {

using namespace today_test;

// Night every evening, Office on Mondays, an appointment on Friday.
void PrepareWeek(TodayPhone& phone) {
  phone.SetText(ModeKey(2), "Mode Name", "Night");
  phone.SetText(ModeKey(3), "Mode Name", "Office");
  phone.SetDailyStart(2, 22, 30, EveryDay);
  phone.SetDword(ModeKey(2), "StopHour", 7);
  phone.SetDword(ModeKey(2), "ModeBack", 1);
  phone.SetDailyStart(3, 8, 0, MondayOnly);
  phone.SetDword(ModeKey(3), "StopHour", 17);
  phone.SetDword(ModeKey(3), "ModeBack", 1);
  phone.Tool({"calendar", "add", "--start", "2026-12-11 10:00", "--end", "2026-12-11 12:30"});
}

class TodayWeekView : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(TodayWeekView, ATapOnTheDateShowsTheWeekAndOkClosesIt) {
  auto [width, height] = GetParam();
  TodayPhone phone("2026-12-09 10:00:00", Store::ByHand, width, height);
  PrepareWeek(phone);
  phone.Run("wait 1000\ntap 40 34\nwait 1000\nscreenshot " + phone.Path("week.png") + "\ndump " +
            phone.Path("week.json") + "\nok\nwait 1000\ndump " + phone.Path("closed.json") + "\n");
  std::string size = std::to_string(width) + "x" + std::to_string(height);
  ExpectGolden(phone.Path("week.png"), "today_week_" + size);
  auto titles = [](const nlohmann::json& dump) {
    std::vector<std::string> shown;
    for (const auto& window : dump["windows"])
      if (window["visible"]) shown.push_back(window["title"]);
    return shown;
  };
  std::vector<std::string> open = titles(phone.Dump("week.json"));
  EXPECT_NE(std::find(open.begin(), open.end(), "Week"), open.end());
  std::vector<std::string> closed = titles(phone.Dump("closed.json"));
  EXPECT_EQ(std::find(closed.begin(), closed.end(), "Week"), closed.end());
  EXPECT_NE(std::find(closed.begin(), closed.end(), "Start"), closed.end());
}

INSTANTIATE_TEST_SUITE_P(Orientations, TodayWeekView, ::testing::Values(std::pair{240, 320}, std::pair{320, 240}),
                         [](const auto& info) {
                           return std::to_string(info.param.first) + "x" + std::to_string(info.param.second);
                         });

}  // namespace
