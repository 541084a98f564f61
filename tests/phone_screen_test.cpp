// The phone's one screen: the timer bar that the Today screen starts lies
// over the Today screen, in screenshots and dumps; the Today screen's taps
// reach the bar where it lies; when the bar ends the Today screen shows
// whole again; a run with several programs always turns out the same; and a
// program alone on a headless phone keeps its screen to itself.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/kernel/clock.h"
#include "platform/kernel/journal.h"
#include "platform/testing/device_fixture.h"
#include "tests/golden_pictures.h"

namespace {

using testing_support::ReadFile;
using testing_support::RunProgram;
using testing_support::TempDevice;
using testing_support::WriteFile;

// Where the Today screen's row of mode pictures and names lies: the window
// starts below the 26-pixel top bar, the row 84 to 126 pixels into it.
constexpr int kRowY = 26 + 98;
// The timer bar, 24 pixels high below the row, and its "30" choice.
constexpr int kBarTop = 26 + 126;
constexpr int kBarBottom = kBarTop + 26;

// A phone switched on at 10:00:00 on a screen of the given size.
class Phone {
 public:
  Phone(int width, int height) : device_(platform::DeviceOptions{.screenWidth = width, .screenHeight = height}) {
    int64_t ms = 0;
    EXPECT_TRUE(platform::ParseLocalTime("2026-12-09 10:00:00", &ms));
    platform::SetDeviceClock(ms, true);
    platform::JournalClear();
  }

  std::string Path(const std::string& name) const { return (device_.folder().parent_path() / name).string(); }
  std::filesystem::path ScreenFolder() const { return device_.folder() / "screen"; }

  void Run(const std::string& script) {
    WriteFile(Path("run.txt"), script);
    auto result = RunProgram("selvane-device", {"run"}, {{"SELVANE_INPUT", Path("run.txt")}});
    EXPECT_EQ(result.status, 0) << result.err;
  }

  // A tap on the second mode's picture, which starts the timer bar.
  std::string TapPicture(int width) const {
    return "tap " + std::to_string(width / 5 + width / 10) + " " + std::to_string(kRowY) + "\n";
  }

 private:
  TempDevice device_;
};

std::vector<std::string> JournalTexts() {
  std::vector<std::string> lines;
  for (const auto& line : platform::JournalRead()) lines.push_back(line.program + " " + line.text);
  return lines;
}

struct Orientation {
  int width;
  int height;
};

// Prints as the screen's size, "240x320": in the test's name and in a
// failure's message.
void PrintTo(const Orientation& o, std::ostream* out) { *out << o.width << "x" << o.height; }

class PhoneScreen : public ::testing::TestWithParam<Orientation> {};

TEST_P(PhoneScreen, TheTimerBarLiesOverTheTodayScreen) {
  Orientation o = GetParam();
  Phone phone(o.width, o.height);
  phone.Run(phone.TapPicture(o.width) + "wait 1000\nscreenshot " + phone.Path("shot.png") + "\ndump " +
            phone.Path("dump.json") + "\n");
  ExpectGolden(phone.Path("shot.png"),
               "today_timer_bar_" + std::to_string(o.width) + "x" + std::to_string(o.height));

  // The dump lists the bar's window in front of the Today screen's.
  nlohmann::json dump = nlohmann::json::parse(ReadFile(phone.Path("dump.json")));
  ASSERT_EQ(dump["windows"].size(), 2u) << dump.dump();
  EXPECT_EQ(dump["windows"][0]["program"], "SelvaneTimer");
  EXPECT_EQ(dump["windows"][0]["rect"], nlohmann::json::array({0, kBarTop - 1, o.width, 26}));
  EXPECT_EQ(dump["windows"][1]["program"], "SelvaneToday");
}

INSTANTIATE_TEST_SUITE_P(Orientations, PhoneScreen,
                         ::testing::Values(Orientation{240, 320}, Orientation{320, 240}),
                         ::testing::PrintToStringParamName());

TEST(PhoneScreenTaps, ATapOnTheBarReachesTheTimerAndTheTodayScreenShowsItsSwitch) {
  Phone phone(240, 320);
  // The "30" choice, the second of seven cells.
  phone.Run(phone.TapPicture(240) + "wait 1000\ntap 64 " + std::to_string(kBarTop + 12) + "\nwait 2000\ndump " +
            phone.Path("after.json") + "\n");
  bool timerAnswered = false;
  for (const std::string& line : JournalTexts())
    timerAnswered |= line.rfind("SelvaneTimer CeRunAppAtTime \"\\Program files\\Selvane\\Lumist.exe\"", 0) == 0;
  EXPECT_TRUE(timerAnswered);
  // The bar is gone; the Today screen says when the phone switches back.
  nlohmann::json dump = nlohmann::json::parse(ReadFile(phone.Path("after.json")));
  ASSERT_EQ(dump["windows"].size(), 1u) << dump.dump();
  bool backShown = false;
  for (const auto& control : dump["windows"][0]["controls"])
    backShown |= control["visible"] == true && control["text"].get<std::string>().find("10:30") != std::string::npos;
  EXPECT_TRUE(backShown) << dump.dump();
}

TEST(PhoneScreenTaps, WhenTheBarEndsTheTodayScreenShowsWhereItLay) {
  Phone phone(240, 320);
  phone.Run("screenshot " + phone.Path("before.png") + "\n" + phone.TapPicture(240) + "wait 1000\nscreenshot " +
            phone.Path("during.png") + "\nwait 7000\nscreenshot " + phone.Path("after.png") + "\n");
  platform::Surface before = LoadPng(phone.Path("before.png")), during = LoadPng(phone.Path("during.png")),
                    after = LoadPng(phone.Path("after.png"));
  int coveredDuring = 0, differentAfter = 0;
  for (int y = kBarTop; y < kBarBottom; ++y)
    for (int x = 0; x < 240; ++x) {
      coveredDuring += during.at(x, y) != before.at(x, y);
      differentAfter += after.at(x, y) != before.at(x, y);
    }
  EXPECT_GT(coveredDuring, 240 * 10);
  EXPECT_EQ(differentAfter, 0);
}

TEST(PhoneScreenTaps, ARunWithSeveralProgramsAlwaysTurnsOutTheSame) {
  std::vector<std::string> first;
  for (int run = 0; run < 3; ++run) {
    Phone phone(240, 320);
    phone.Run(phone.TapPicture(240) + "wait 1500\ntap 64 " + std::to_string(kBarTop + 12) + "\nwait 3000\n");
    std::vector<std::string> journal = JournalTexts();
    if (run == 0)
      first = journal;
    else
      EXPECT_EQ(journal, first);
  }
}

// Headless, a program comes on the shared screen (makes its record, and
// sweeps away what ended programs left there) only when it shares it: a
// program alone keeps to itself and leaves screen/ as it found it, while the
// Today screen starting the timer bar comes on it, and both leave it empty.
// (The leftover stands for a record of an ended program: only a program
// that makes its record sweeps such leftovers away.)
TEST(PhoneScreenSharing, AProgramAloneMakesNoRecordAndOneThatStartsAnotherDoes) {
  Phone phone(240, 320);
  // The first start prepares the store and applies the active mode, which
  // starts Kestrow; the starts after it start nothing.
  phone.Run("wait 100\n");
  std::filesystem::create_directories(phone.ScreenFolder());
  const std::filesystem::path leftover = phone.ScreenFolder() / "999999999";
  WriteFile(leftover.string(), "a record left by a program that ended");
  for (const auto& [program, args] : std::vector<std::pair<std::string, std::vector<std::string>>>{
           {"Kestrow", {"2"}}, {"Lumist", {}}}) {
    auto result = RunProgram(program, args, {{"SELVANE_DISPLAY", "headless"}});
    EXPECT_EQ(result.status, 0) << program << ": " << result.err;
    EXPECT_TRUE(std::filesystem::exists(leftover)) << program << " came on the screen alone";
  }
  phone.Run("wait 100\n");
  EXPECT_TRUE(std::filesystem::exists(leftover)) << "the Today screen came on the screen alone";
  phone.Run(phone.TapPicture(240) + "wait 1500\n");
  EXPECT_TRUE(std::filesystem::is_empty(phone.ScreenFolder()));
}

}  // namespace
