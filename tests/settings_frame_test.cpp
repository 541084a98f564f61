// The settings program's window: its layout by screen width, the page
// arrows, the question screen, the keyboard mode, the mode it opens on and what Done does.
#include <algorithm>

#include "settings/resource.h"
#include "tests/settings_support.h"

namespace settings_test {
namespace {

using testing_support::TempDevice;

TEST(SettingsLayout, ScreensUpTo240PixelsWideGetThePortraitLayout) {
  TempDevice device(platform::DeviceOptions{.screenWidth = 240, .screenHeight = 320});
  SettingsRun run = RunSettings({"dump"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  // Portrait: the bottom buttons form a row.
  EXPECT_EQ(Rect(run.dumps[0], IDC_RESET)[1], Rect(run.dumps[0], IDC_SAVE)[1]);
  EXPECT_LT(Rect(run.dumps[0], IDC_RESET)[0], Rect(run.dumps[0], IDC_SAVE)[0]);
}

TEST(SettingsLayout, WiderScreensGetTheLandscapeLayout) {
  TempDevice device(platform::DeviceOptions{.screenWidth = 241, .screenHeight = 320});
  SettingsRun run = RunSettings({"dump"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  // Landscape: the bottom buttons form a column on the right.
  EXPECT_EQ(Rect(run.dumps[0], IDC_RESET)[0], Rect(run.dumps[0], IDC_SAVE)[0]);
  EXPECT_LT(Rect(run.dumps[0], IDC_RESET)[1], Rect(run.dumps[0], IDC_SAVE)[1]);
}

// The group box of each page, page 1 first.
const int PageGroups[9] = {IDC_VOLUME_GROUP, IDC_RING_GROUP,    IDC_NOTIFS_GROUP,  IDC_RADIO_GROUP,    IDC_TIME_GROUP,
                           IDC_SOUNDS_GROUP, IDC_OUTLOOK_GROUP, IDC_PROGRAM_GROUP, IDC_BACKLIGHT_GROUP};

// The page a dump shows, 0 when it is not exactly one.
int ShownPage(const json& dump) {
  int shown = 0;
  for (int page = 1; page <= 9; ++page)
    if (Visible(dump, PageGroups[page - 1])) shown = shown ? -1 : page;
  return shown < 0 ? 0 : shown;
}

class SettingsFrameTest : public SettingsTest {};

TEST_F(SettingsFrameTest, PageArrowsStepThroughTheNinePagesAndWrapAround) {
  std::vector<std::string> script = {"dump", "click 1027", "dump", "click 1028", "dump"};
  for (int i = 0; i < 9; ++i) script.insert(script.end(), {"click 1028", "dump"});
  SettingsRun run = RunSettings(script);
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_EQ(ShownPage(run.dumps[0]), 1);
  EXPECT_EQ(ShownPage(run.dumps[1]), 9);  // "<" on page 1
  EXPECT_EQ(ShownPage(run.dumps[2]), 1);  // ">" on page 9
  for (int i = 0; i < 9; ++i) EXPECT_EQ(ShownPage(run.dumps[3 + i]), i < 8 ? i + 2 : 1) << "step " << i;

  // Each page shows its own controls and none of another page's.
  const json& time = run.dumps[3 + 3];  // page 5
  EXPECT_TRUE(Visible(time, IDC_SUNDAY));
  EXPECT_TRUE(Visible(time, IDC_MODE_BACK));
  EXPECT_FALSE(Visible(time, IDC_SYSTEM_VOLUME));
  EXPECT_FALSE(Visible(time, IDC_SPARE_ARROW));
  // The mode name is editable on pages 1 and 7 only; the keyboard button on 1, 2 and 8.
  EXPECT_TRUE(Enabled(run.dumps[0], IDC_MODE_NAME));
  EXPECT_FALSE(Enabled(time, IDC_MODE_NAME));
  EXPECT_FALSE(Enabled(time, IDC_KEYBOARD));
  EXPECT_TRUE(Enabled(run.dumps[3 + 5], IDC_MODE_NAME));  // page 7
  EXPECT_TRUE(Enabled(run.dumps[3 + 6], IDC_KEYBOARD));   // page 8
}

// Controls of the frame that the question screen hides.
const int HiddenByQuestion[] = {IDC_RESET,         IDC_EXPORT,    IDC_IMPORT,    IDC_PAGE_PREVIOUS,
                                IDC_PAGE_NEXT,     IDC_MODE_NEXT, IDC_MODE_PREVIOUS, IDC_KEYBOARD,
                                IDC_SYSTEM_VOLUME, IDC_VOLUME_GROUP};

TEST_F(SettingsFrameTest, MovedTrackbarAsksBeforeChangingModeAndNoSavePutsItBack) {
  OpenOnMode(3);
  SettingsRun run = RunSettings({"slide 1006 1", "click 1054", "dump", "click 1083", "dump"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  const json& question = run.dumps[0];
  EXPECT_TRUE(Visible(question, IDC_QUESTION));
  EXPECT_EQ(Text(question, IDC_QUESTION), "You changed a setting.\nWould you like to save ?");
  EXPECT_TRUE(Visible(question, IDC_MODE_NAME));
  EXPECT_FALSE(Enabled(question, IDC_MODE_NAME));
  EXPECT_EQ(Text(question, IDC_MODE_NAME), "Office");
  EXPECT_TRUE(Visible(question, IDC_SAVE) && Enabled(question, IDC_SAVE));
  EXPECT_TRUE(Visible(question, IDC_NO_SAVE) && Enabled(question, IDC_NO_SAVE));
  for (int id : HiddenByQuestion) EXPECT_FALSE(Visible(question, id)) << id;

  const json& back = run.dumps[1];
  EXPECT_EQ(Text(back, IDC_MODE_NAME), "Office");  // the arrow was not carried out
  EXPECT_EQ(Position(back, IDC_SYSTEM_VOLUME), 3);
  EXPECT_EQ(ShownPage(back), 1);
  EXPECT_FALSE(Visible(back, IDC_NO_SAVE));
  EXPECT_FALSE(Visible(back, IDC_QUESTION));
  EXPECT_TRUE(Visible(back, IDC_EXPORT) && Enabled(back, IDC_EXPORT));
  EXPECT_EQ(ModeDword(3, u"System Volume"), 3u);
}

TEST_F(SettingsFrameTest, SaveOnTheQuestionSavesAndStaysOnTheMode) {
  OpenOnMode(3);
  SettingsRun run = RunSettings({"click 1028", "click 1072", "click 1054", "click 1009", "dump", "click 1054", "dump"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_EQ(ModeDword(3, u"AutoPickUp"), 1u);
  EXPECT_EQ(Text(run.dumps[0], IDC_MODE_NAME), "Office");
  EXPECT_EQ(ShownPage(run.dumps[0]), 2);
  EXPECT_FALSE(Visible(run.dumps[0], IDC_QUESTION));
  EXPECT_EQ(Text(run.dumps[1], IDC_MODE_NAME), "Home");  // the arrow again, now without a question
}

TEST_F(SettingsFrameTest, KeyboardModeFocusesTheFieldToTypeIn) {
  SettingsRun run = RunSettings({"click 1000", "dump", "click 1000", "dump", "click 1028", "click 1078", "click 1000",
                                 "dump", "click 1000", "click 1028", "click 1028", "click 1028", "click 1028",
                                 "click 1028", "click 1028", "click 1000", "dump"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  const json& name = run.dumps[0];
  EXPECT_TRUE(SipShown(name));
  EXPECT_TRUE(Focused(name, IDC_MODE_NAME));
  EXPECT_TRUE(Enabled(name, IDC_MODE_NAME));
  EXPECT_TRUE(Enabled(name, IDC_KEYBOARD));
  EXPECT_FALSE(Enabled(name, IDC_SAVE));
  EXPECT_FALSE(Enabled(name, IDC_PAGE_NEXT));

  EXPECT_FALSE(SipShown(run.dumps[1]));
  EXPECT_TRUE(Enabled(run.dumps[1], IDC_SAVE));
  EXPECT_TRUE(Enabled(run.dumps[1], IDC_SYSTEM_VOLUME));

  const json& sim = run.dumps[2];  // page 2 with "Sim Code" checked
  EXPECT_TRUE(Focused(sim, IDC_SIM_CODE));
  EXPECT_TRUE(Enabled(sim, IDC_SIM_CODE));
  EXPECT_TRUE(Enabled(sim, IDC_SIM_CODE_ON));
  EXPECT_FALSE(Enabled(sim, IDC_RING_PATTERN));

  const json& program = run.dumps[3];  // page 8
  EXPECT_EQ(ShownPage(program), 8);
  EXPECT_TRUE(Focused(program, IDC_PROGRAM));
  EXPECT_TRUE(Enabled(program, IDC_PROGRAM));
}

TEST(SettingsStartUp, FirstRunBuildsTheFactoryModesAndOpensOnModeFour) {
  TempDevice device;
  SettingsRun run = RunSettings({"dump"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_EQ(Text(run.dumps[0], IDC_MODE_NAME), "Home");
  EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, kStoreRoot, u"Init"), 1u);
  EXPECT_FALSE(ModeDword(0, u"System Volume"));
  EXPECT_EQ(Items(run.dumps[0], IDC_MODE_BACK),
            (std::vector<std::string>{"Car", "Night", "Office", "Home", "Car"}));
}

TEST(SettingsStartUp, FirstRunOpensOnAStoredDefaultMode) {
  TempDevice device;
  SetDword(HKEY_LOCAL_MACHINE, kStoreRoot, u"DefaultMode", 2);
  SettingsRun run = RunSettings({"dump"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_EQ(Text(run.dumps[0], IDC_MODE_NAME), "Night");
}

TEST_F(SettingsFrameTest, WithoutDefaultModeTheWindowOpensOnModeZero) {
  SettingsRun run = RunSettings({"dump"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_EQ(Text(run.dumps[0], IDC_MODE_NAME), "Mode 0");
  EXPECT_EQ(ModeText(0, u"Mode Name"), "Mode 0");  // loading it created the key
}

TEST_F(SettingsFrameTest, DoneAppliesTheActiveModeAndRegistersTheNextSwitch) {
  int64_t now = 0;
  ASSERT_TRUE(platform::ParseLocalTime("2005-03-01 10:00:00", &now));
  platform::SetDeviceClock(now, true);
  OpenOnMode(3);
  SetModeDword(2, u"StartHour", 22);
  SetModeDword(2, u"StartMinutes", 30);
  platform::JournalClear();

  // The window shows mode 4 at the end; the active mode 3 is what is applied.
  SettingsRun run = RunSettings({"click 1054", "ok"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  std::vector<std::string> journal = SettingsJournal();
  auto at = [&](const std::string& line) { return std::find(journal.begin(), journal.end(), line) - journal.begin(); };
  auto has = [&](const std::string& line) { return at(line) < (long)journal.size(); };
  EXPECT_TRUE(has("CreateProcessW \"\\Program files\\Selvane\\Kestrow.exe\" \"0\""));
  EXPECT_TRUE(has("waveOutSetVolume 0x00009999"));
  EXPECT_FALSE(has("waveOutSetVolume 0x0000FFFF"));
  const std::string wakeUp = "CeRunAppAtTime \"\\Program files\\Selvane\\Lumist.exe\" 2005-03-01 22:30:05";
  ASSERT_TRUE(has(wakeUp));
  EXPECT_GT(at(wakeUp), at("waveOutSetVolume 0x00009999"));  // scheduled after the apply
}

TEST_F(SettingsFrameTest, DoneWithUnsavedChangesAsksAndDoesNotClose) {
  OpenOnMode(3);
  platform::JournalClear();
  SettingsRun run = RunSettings({"slide 1006 1", "ok", "dump"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_TRUE(Visible(run.dumps[0], IDC_QUESTION));
  for (const std::string& line : SettingsJournal()) EXPECT_EQ(line.rfind("CeRunAppAtTime", 0), std::string::npos);
}

}  // namespace
}  // namespace settings_test
