// The Time page under a user's hands: hours and minutes picked from lists
// longer than they show, by the scroll bar, the keys and the stylus; and a
// typed time that is no time of day refused by Save with a message that
// names it, nothing stored.
#include "settings/resource.h"
#include "tests/settings_support.h"

namespace settings_test {
namespace {

// From the first page to the Time page, its start row switched on.
const std::vector<std::string> kToStartRow = {"click 1028", "click 1028", "click 1028", "click 1028",
                                              "click 1069"};

std::vector<std::string> Then(std::vector<std::string> script, const std::vector<std::string>& more) {
  script.insert(script.end(), more.begin(), more.end());
  return script;
}

std::string TapAt(int x, int y) { return "tap " + std::to_string(x) + " " + std::to_string(y); }

// The middle of a rectangle [x, y, w, h] of a dump.
std::string TapMiddle(const json& rect) {
  return TapAt(rect[0].get<int>() + rect[2].get<int>() / 2, rect[1].get<int>() + rect[3].get<int>() / 2);
}

// A tap on a drop-down's arrow, at its right end.
std::string TapArrow(const json& dump, int id) {
  std::vector<int> r = Rect(dump, id);
  return TapAt(r[0] + r[2] - 4, r[1] + r[3] / 2);
}

// A tap on line `line` (0 first) of an open list.
std::string TapLine(const json& list, int line) {
  const json& rect = list["rect"];
  int height = (rect[3].get<int>() - 2) / list["visible"].get<int>();
  return TapAt(rect[0].get<int>() + 6, rect[1].get<int>() + 1 + line * height + height / 2);
}

class TimeListsTest : public SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    OpenOnMode(2);
    SetModeDword(2, u"StartHour", 0);
    SetModeDword(2, u"StartMinutes", 0);
    SetModeDword(2, u"StopHour", 0);
    SetModeDword(2, u"StopMinutes", 0);
  }
  // The Time page with its start row on, and the hour list opened by its arrow.
  json OpenHourList() {
    SettingsRun layout = RunSettings(Then(kToStartRow, {"dump"}));
    EXPECT_EQ(layout.result.status, 0) << layout.result.err;
    layout_ = layout.dumps[0];
    SettingsRun open = RunSettings(Then(kToStartRow, {TapArrow(layout_, IDC_START_HOUR), "dump"}));
    EXPECT_EQ(open.result.status, 0) << open.result.err;
    return Control(open.dumps[0], IDC_START_HOUR);
  }
  json layout_;
};

TEST_F(TimeListsTest, HourPickedByScrollingWithTheArrowAndMinutesByKeysAreStored) {
  json hours = OpenHourList();
  ASSERT_TRUE(hours.contains("list")) << hours.dump();
  const json& list = hours["list"];
  ASSERT_TRUE(list.contains("scrollbar"));
  int visible = list["visible"].get<int>();
  ASSERT_LT(visible, 23);
  EXPECT_EQ(list["top"], 0);

  // Line by line down to 22 on the last line shown; the list stays open.
  std::vector<std::string> script = Then(kToStartRow, {TapArrow(layout_, IDC_START_HOUR)});
  int steps = 22 - visible + 1;
  for (int i = 0; i < steps; ++i) script.push_back(TapMiddle(list["scrollbar"]["down"]));
  script.push_back("dump");
  script.push_back(TapLine(list, visible - 1));
  // Minutes: the list opens on "05", the row's first minute; eight down is 45.
  script.push_back(TapArrow(layout_, IDC_START_MINUTES));
  script.push_back("dump");
  for (int i = 0; i < 8; ++i) script.push_back("key Down");
  script.push_back("key Return");
  script.push_back("dump");
  script.push_back("click 1009");
  SettingsRun run = RunSettings(script);
  ASSERT_EQ(run.result.status, 0) << run.result.err;

  const json& scrolled = Control(run.dumps[0], IDC_START_HOUR);
  ASSERT_TRUE(scrolled.contains("list"));
  EXPECT_EQ(scrolled["list"]["top"], steps);
  EXPECT_EQ(Text(run.dumps[0], IDC_START_HOUR), "00");  // nothing picked while scrolling
  const json& minutes = Control(run.dumps[1], IDC_START_MINUTES);
  ASSERT_TRUE(minutes.contains("list"));
  EXPECT_EQ(minutes["list"]["highlight"], 1);
  EXPECT_EQ(Text(run.dumps[1], IDC_START_HOUR), "22");
  EXPECT_EQ(Text(run.dumps[2], IDC_START_MINUTES), "45");
  EXPECT_FALSE(Control(run.dumps[2], IDC_START_MINUTES).contains("list"));

  EXPECT_EQ(ModeDword(2, u"StartHour"), 22u);
  EXPECT_EQ(ModeDword(2, u"StartMinutes"), 45u);
}

TEST_F(TimeListsTest, AListOpensOnTheEntryItsFieldShowsAndEscapeKeepsIt) {
  SetModeDword(2, u"StartHour", 17);
  SetModeDword(2, u"StartMinutes", 30);
  SettingsRun layout = RunSettings({"click 1028", "click 1028", "click 1028", "click 1028", "dump"});
  ASSERT_EQ(layout.result.status, 0) << layout.result.err;
  SettingsRun run = RunSettings({"click 1028", "click 1028", "click 1028", "click 1028",
                                 TapArrow(layout.dumps[0], IDC_START_HOUR), "dump", "key PageUp", "key Escape",
                                 "dump", "click 1009"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  const json& hours = Control(run.dumps[0], IDC_START_HOUR);
  ASSERT_TRUE(hours.contains("list"));
  int top = hours["list"]["top"].get<int>(), visible = hours["list"]["visible"].get<int>();
  EXPECT_EQ(hours["list"]["highlight"], 17);
  EXPECT_TRUE(top <= 17 && 17 < top + visible) << top;
  EXPECT_FALSE(Control(run.dumps[1], IDC_START_HOUR).contains("list"));
  EXPECT_EQ(Text(run.dumps[1], IDC_START_HOUR), "17");
  EXPECT_EQ(ModeDword(2, u"StartHour"), 17u);
}

TEST_F(TimeListsTest, ATypedTimeOfNoDayIsRefusedByNameAndNothingIsStored) {
  SettingsRun run = RunSettings(Then(kToStartRow, {"type 1060 99", "click 1028", "click 1009", "dump", "ok", "dump"}));
  ASSERT_EQ(run.result.status, 0) << run.result.err;

  // Save on another page: the message box over the dialog names the start time.
  const json& refused = run.dumps[0];
  ASSERT_TRUE(refused["windows"].is_array());
  const json& box = refused["windows"][0];
  EXPECT_EQ(box.value("title", ""), "Not saved");
  bool named = false;
  for (const json& control : box["controls"])
    named |= control.value("text", "") == "The start time must be a time of day, 00:00 to 23:59.";
  EXPECT_TRUE(named) << box.dump();
  // Closed with "ok": the Time page is shown with the hour field focused, nothing stored.
  EXPECT_TRUE(Visible(run.dumps[1], IDC_START_HOUR));
  EXPECT_TRUE(Focused(run.dumps[1], IDC_START_HOUR));
  EXPECT_EQ(ModeDword(2, u"StartHour"), 0u);
  EXPECT_EQ(ModeDword(2, u"StartMinutes"), 0u);

  // Minutes that are no number are refused too; once both are times of day, Save stores them.
  run = RunSettings(Then(kToStartRow, {"type 1060 21", "type 1071 7x", "click 1009", "dump", "ok", "dump",
                                       "type 1071 07", "click 1009"}));
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_EQ(run.dumps[0]["windows"][0].value("title", ""), "Not saved");
  EXPECT_TRUE(Focused(run.dumps[1], IDC_START_MINUTES));
  EXPECT_EQ(ModeDword(2, u"StartHour"), 21u);
  EXPECT_EQ(ModeDword(2, u"StartMinutes"), 7u);
  for (const std::string& line : SettingsJournal()) EXPECT_EQ(line.find("failed"), std::string::npos) << line;
}

TEST_F(TimeListsTest, OkWithAnImpossibleStopTimeAsksThenRefusesAndStaysOpen) {
  SettingsRun run = RunSettings({"click 1028", "click 1028", "click 1028", "click 1028", "click 1068",
                                 "type 1070 23", "type 1062 60", "ok", "click 1009", "dump", "ok", "dump"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  const json& box = run.dumps[0]["windows"][0];
  bool named = false;
  for (const json& control : box["controls"])
    named |= control.value("text", "") == "The stop time must be a time of day, 00:00 to 23:59.";
  EXPECT_TRUE(named) << box.dump();
  EXPECT_TRUE(Focused(run.dumps[1], IDC_STOP_MINUTES));
  EXPECT_TRUE(Visible(run.dumps[1], IDC_STOP_MINUTES));
  EXPECT_EQ(ModeDword(2, u"StopMinutes"), 0u);
}

}  // namespace
}  // namespace settings_test
