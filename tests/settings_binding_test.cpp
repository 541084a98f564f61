// The settings program shows every field of a stored mode in its controls and
// saves it back: the conversions between values and texts, lists and check boxes.
#include <algorithm>

#include "settings/resource.h"
#include "tests/settings_support.h"

namespace settings_test {
namespace {

// Mode 2's values where every field differs from the factory one, and what
// "Save" writes back for each: the stored value, but for the ring tone,
// which the list shows (and so saves) in its own case.
struct DistinctNumber {
  const char16_t* name;
  DWORD value;
};
const DistinctNumber kDistinctNumbers[] = {
    {u"System Volume", 1},
    {u"Phone Volume", 2},
    {u"Speaker Volume", 4},
    {u"Radio State", 0},
    {u"BT State", 1},
    {u"Headset State", 1},
    {u"StartHour", 7},
    {u"StartMinutes", 30},
    {u"StopHour", 18},
    {u"StopMinutes", 5},
    {u"ModeBack", 3},
    {u"AutoPickUp", 1},
    {u"NbRingPickUp", 4},
    {u"Sound", 6},
    {u"Days", 0x1010101},
    {u"OutlookSwitch", 1},
    {u"OutlookAutoRefresh", 1},
    {u"ModeBusy", 5},
    {u"Status", 1},
    {u"BrightNess", 3},
    {u"ACBrightNess", 9},
    {u"BatteryTimeoutUnchecked", 0},
    {u"BatteryTimeout", 120},
    {u"BacklightOnTap", 0},
};
struct DistinctText {
  const char16_t* name;
  const char16_t* stored;
  const char* saved;
};
const DistinctText kDistinctTexts[] = {
    {u"Ring Mode", u"apw3r", "apw3r"},
    {u"Ring Tone", u"Classic.WMA", "classic.wma"},
    {u"Sim Code", u"4321", "4321"},
    {u"Mode Name", u"Weekend", "Weekend"},
    {u"Category", u"Personal", "Personal"},
    {u"ProgramToRun", u"\\windows\\calc.exe", "\\windows\\calc.exe"},
};

class SettingsBindingTest : public SettingsTest {
 protected:
  void StoreDistinctMode() {
    for (const DistinctNumber& value : kDistinctNumbers) SetModeDword(2, value.name, value.value);
    for (const DistinctText& value : kDistinctTexts) SetModeText(2, value.name, value.stored);
  }
};

TEST_F(SettingsBindingTest, EveryFieldOfAModeIsShownAndSavedBackUnchanged) {
  StoreDistinctMode();
  OpenOnMode(2);
  SettingsRun run = RunSettings({"dump", "click 1009"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  const json& d = run.dumps[0];

  EXPECT_EQ(Text(d, IDC_MODE_NAME), "Weekend");
  EXPECT_EQ(Position(d, IDC_SYSTEM_VOLUME), 1);
  EXPECT_EQ(Position(d, IDC_PHONE_VOLUME), 2);
  EXPECT_EQ(Position(d, IDC_SPEAKER_VOLUME), 4);
  EXPECT_EQ(Selection(d, IDC_RING_PATTERN), 2);  // "Ring"
  EXPECT_TRUE(Checked(d, IDC_RING_TONE_ON));
  EXPECT_TRUE(Enabled(d, IDC_RING_TONE));
  EXPECT_EQ(Text(d, IDC_RING_TONE), "classic.wma");  // found without regard to case
  EXPECT_EQ(Selection(d, IDC_RADIO_STATE), 1);        // "Radio Off"
  EXPECT_EQ(Selection(d, IDC_BT_STATE), 2);           // "BT Connectable (MS)"
  EXPECT_EQ(Selection(d, IDC_HEADSET_STATE), 0);      // "Headset On"
  EXPECT_TRUE(Checked(d, IDC_START_ON));
  EXPECT_EQ(Text(d, IDC_START_HOUR), "07");
  EXPECT_EQ(Text(d, IDC_START_MINUTES), "30");
  EXPECT_TRUE(Checked(d, IDC_STOP_ON));
  EXPECT_EQ(Text(d, IDC_STOP_HOUR), "18");
  EXPECT_EQ(Text(d, IDC_STOP_MINUTES), "05");
  EXPECT_EQ(Selection(d, IDC_MODE_BACK), 2);
  EXPECT_TRUE(Enabled(d, IDC_MODE_BACK));
  EXPECT_TRUE(Checked(d, IDC_AUTO_PICK_UP));
  EXPECT_EQ(Text(d, IDC_PICK_UP_RINGS), "4");
  EXPECT_TRUE(Checked(d, IDC_SIM_CODE_ON));
  EXPECT_EQ(Text(d, IDC_SIM_CODE), "4321");
  EXPECT_TRUE(Checked(d, IDC_EVENT_SOUNDS));
  EXPECT_TRUE(Checked(d, IDC_PROGRAM_SOUNDS));
  EXPECT_FALSE(Checked(d, IDC_NOTIF_SOUNDS));
  EXPECT_TRUE(Enabled(d, IDC_NOTIF_SOUNDS));
  const int days[] = {IDC_MONDAY, IDC_TUESDAY, IDC_WEDNESDAY, IDC_THURSDAY, IDC_FRIDAY, IDC_SATURDAY, IDC_SUNDAY};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Checked(d, days[i]), i % 2 == 0) << "day " << i;
  EXPECT_TRUE(Checked(d, IDC_OUTLOOK_SWITCH));
  EXPECT_EQ(Selection(d, IDC_MODE_BUSY), 4);
  EXPECT_TRUE(Checked(d, IDC_AUTO_REFRESH));
  EXPECT_TRUE(Checked(d, IDC_STATUS_ON));
  EXPECT_EQ(Selection(d, IDC_STATUS), 2);  // "Tentative"
  EXPECT_TRUE(Checked(d, IDC_CATEGORY_ON));
  EXPECT_EQ(Text(d, IDC_CATEGORY), "Personal");
  EXPECT_EQ(Text(d, IDC_PROGRAM), "\\windows\\calc.exe");
  EXPECT_EQ(Position(d, IDC_BRIGHTNESS), 3);
  EXPECT_EQ(Position(d, IDC_AC_BRIGHTNESS), 9);
  EXPECT_TRUE(Checked(d, IDC_BATTERY_TIMEOUT_ON));
  EXPECT_EQ(Text(d, IDC_BATTERY_TIMEOUT), "2");
  EXPECT_FALSE(Checked(d, IDC_BACKLIGHT_ON_TAP));

  // "Save" writes what the controls show, which is what was stored.
  for (const DistinctNumber& value : kDistinctNumbers)
    EXPECT_EQ(ModeDword(2, value.name), value.value) << platform::Utf16ToUtf8(value.name);
  for (const DistinctText& value : kDistinctTexts)
    EXPECT_EQ(ModeText(2, value.name), value.saved) << platform::Utf16ToUtf8(value.name);
}

TEST_F(SettingsBindingTest, BatteryTimeoutShowsMinutesAndTheTwoShortTimeouts) {
  const DWORD seconds[] = {9, 30, 120, 90, 0};
  for (int mode = 1; mode <= 5; ++mode) SetModeDword(mode, u"BatteryTimeout", seconds[mode - 1]);
  OpenOnMode(1);
  SettingsRun run = RunSettings({"dump", "click 1054", "dump", "click 1054", "dump", "click 1054", "dump",
                                 "click 1054", "dump"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_EQ(Text(run.dumps[0], IDC_BATTERY_TIMEOUT), "0.15");
  EXPECT_EQ(Text(run.dumps[1], IDC_BATTERY_TIMEOUT), "0.5");
  EXPECT_EQ(Text(run.dumps[2], IDC_BATTERY_TIMEOUT), "2");
  EXPECT_EQ(Text(run.dumps[3], IDC_BATTERY_TIMEOUT), "1");  // whole minutes
  EXPECT_EQ(Text(run.dumps[4], IDC_BATTERY_TIMEOUT), "0");
  EXPECT_FALSE(Checked(run.dumps[4], IDC_BATTERY_TIMEOUT_ON));
  EXPECT_FALSE(Enabled(run.dumps[4], IDC_BATTERY_TIMEOUT));
  EXPECT_TRUE(Enabled(run.dumps[0], IDC_BATTERY_TIMEOUT));
}

TEST_F(SettingsBindingTest, BatteryTimeoutSavesSecondsOnlyInTheFieldOfTheCheckBoxState) {
  OpenOnMode(1);
  // Checked with "2" shown, then unchecked with "0.5" shown (which reads as 0 minutes).
  SettingsRun run = RunSettings({"click 1027", "select 1125 3", "click 1009"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_EQ(ModeDword(1, u"BatteryTimeout"), 120u);
  EXPECT_EQ(ModeDword(1, u"BatteryTimeoutUnchecked"), 0u);

  run = RunSettings({"click 1027", "select 1125 1", "click 1122", "click 1009"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_EQ(ModeDword(1, u"BatteryTimeout"), 0u);
  EXPECT_EQ(ModeDword(1, u"BatteryTimeoutUnchecked"), 0u);

  run = RunSettings({"click 1027", "click 1122", "select 1125 1", "click 1009"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_EQ(ModeDword(1, u"BatteryTimeout"), 30u);
}

TEST_F(SettingsBindingTest, TimeRowsShowTwoDigitsAndAZeroTimeAsNoTime) {
  SetModeDword(1, u"StartHour", 0);
  SetModeDword(1, u"StartMinutes", 5);
  OpenOnMode(1);
  SettingsRun run = RunSettings({"dump", "click 1054", "dump"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  const json& set = run.dumps[0];
  EXPECT_TRUE(Checked(set, IDC_START_ON));
  EXPECT_EQ(Text(set, IDC_START_HOUR), "00");
  EXPECT_EQ(Text(set, IDC_START_MINUTES), "05");
  EXPECT_TRUE(Enabled(set, IDC_START_MINUTES));
  EXPECT_TRUE(Enabled(set, IDC_MODE_BACK));
  EXPECT_FALSE(Checked(set, IDC_STOP_ON));
  EXPECT_FALSE(Enabled(set, IDC_STOP_HOUR));

  const json& none = run.dumps[1];  // mode 2: (0, 0) is no start
  EXPECT_FALSE(Checked(none, IDC_START_ON));
  EXPECT_EQ(Text(none, IDC_START_MINUTES), "00");
  EXPECT_FALSE(Enabled(none, IDC_START_HOUR));
  EXPECT_FALSE(Enabled(none, IDC_MODE_BACK));
}

TEST_F(SettingsBindingTest, ATimeRowNeverStaysAtMidnight) {
  OpenOnMode(1);
  SettingsRun run = RunSettings({"click 1028", "click 1028", "click 1028", "click 1028",  // page 5
                                 "click 1069", "dump", "select 1071 0", "dump", "select 1060 3", "select 1071 0",
                                 "dump", "click 1068", "click 1069", "dump", "click 1068", "dump", "click 1009"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_EQ(Text(run.dumps[0], IDC_START_MINUTES), "05");  // switched on at 00:05
  EXPECT_TRUE(Enabled(run.dumps[0], IDC_START_HOUR));
  EXPECT_EQ(Text(run.dumps[1], IDC_START_MINUTES), "05");  // 00:00 picked becomes 00:05
  EXPECT_EQ(Text(run.dumps[2], IDC_START_HOUR), "03");
  EXPECT_EQ(Text(run.dumps[2], IDC_START_MINUTES), "00");  // 03:00 is a time

  // "Switch at" off: its row reads "00", the target mode stays while "then back at" is on.
  const json& startOff = run.dumps[3];
  EXPECT_EQ(Text(startOff, IDC_START_HOUR), "00");
  EXPECT_EQ(Text(startOff, IDC_START_MINUTES), "00");
  EXPECT_FALSE(Enabled(startOff, IDC_START_HOUR));
  EXPECT_TRUE(Enabled(startOff, IDC_MODE_BACK));
  EXPECT_EQ(Text(startOff, IDC_STOP_MINUTES), "05");
  EXPECT_FALSE(Enabled(run.dumps[4], IDC_MODE_BACK));
  EXPECT_EQ(ModeDword(1, u"StartHour"), 0u);
  EXPECT_EQ(ModeDword(1, u"StopMinutes"), 0u);
}

TEST_F(SettingsBindingTest, DaysCheckTheirBoxesAndSaveAsDigits) {
  SetModeDword(1, u"Days", 0x1010101);  // Monday, Wednesday, Friday, Sunday
  OpenOnMode(1);
  SettingsRun run = RunSettings({"dump", "click 1028", "click 1028", "click 1028", "click 1028",  // page 5
                                 "click 1091", "click 1093", "click 1095", "click 1009"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  const json& d = run.dumps[0];
  EXPECT_TRUE(Checked(d, IDC_MONDAY));
  EXPECT_FALSE(Checked(d, IDC_TUESDAY));
  EXPECT_TRUE(Checked(d, IDC_WEDNESDAY));
  EXPECT_FALSE(Checked(d, IDC_SATURDAY));
  EXPECT_TRUE(Checked(d, IDC_SUNDAY));
  EXPECT_EQ(ModeDword(1, u"Days"), 0x1000000u);
}

TEST_F(SettingsBindingTest, SoundClassesOnlyOfferNotifsWithPrograms) {
  SetModeDword(1, u"Sound", 3);
  SetModeDword(2, u"Sound", 5);  // not offered: the boxes stay as the last mode left them
  OpenOnMode(1);
  SettingsRun run = RunSettings({"click 1027", "click 1027", "click 1027", "click 1027",  // page 6
                                 "dump", "click 1054", "dump", "click 1087", "dump", "click 1088", "dump",
                                 "click 1009"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_FALSE(Checked(run.dumps[0], IDC_EVENT_SOUNDS));
  EXPECT_TRUE(Checked(run.dumps[0], IDC_PROGRAM_SOUNDS));
  EXPECT_TRUE(Checked(run.dumps[0], IDC_NOTIF_SOUNDS));
  EXPECT_TRUE(Checked(run.dumps[1], IDC_PROGRAM_SOUNDS));
  EXPECT_TRUE(Checked(run.dumps[1], IDC_NOTIF_SOUNDS));
  EXPECT_FALSE(Checked(run.dumps[1], IDC_EVENT_SOUNDS));
  // "Programs" off takes "Notifs" with it; "Notifs" cannot come back alone.
  EXPECT_FALSE(Checked(run.dumps[2], IDC_NOTIF_SOUNDS));
  EXPECT_FALSE(Enabled(run.dumps[2], IDC_NOTIF_SOUNDS));
  EXPECT_FALSE(Checked(run.dumps[3], IDC_NOTIF_SOUNDS));
  EXPECT_EQ(ModeDword(2, u"Sound"), 0u);
}

TEST_F(SettingsBindingTest, CalendarRuleShowsStatusCategoryAndTheSwitchMode) {
  SetModeDword(1, u"OutlookSwitch", 1);
  SetModeDword(1, u"ModeBusy", 0);
  SetModeDword(1, u"Status", 2);
  SetModeText(1, u"Category", u"xN/Ay");
  SetModeDword(2, u"OutlookSwitch", 1);
  SetModeDword(2, u"ModeBusy", 3);
  SetModeDword(2, u"Status", 4);
  SetModeText(2, u"Category", u"Holiday");
  OpenOnMode(1);
  SettingsRun run = RunSettings({"click 1027", "click 1027", "click 1027",  // page 7
                                 "dump", "click 1009", "click 1054", "dump", "click 1113", "select 1099 2",
                                 "click 1009"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  const json& busy = run.dumps[0];
  EXPECT_EQ(Selection(busy, IDC_MODE_BUSY), -1);  // "ModeBusy" 0 names no mode
  EXPECT_TRUE(Checked(busy, IDC_STATUS_ON));
  EXPECT_EQ(Text(busy, IDC_STATUS), "Busy");
  EXPECT_TRUE(Enabled(busy, IDC_STATUS));
  EXPECT_FALSE(Checked(busy, IDC_CATEGORY_ON));  // "N/A" anywhere means any category
  EXPECT_EQ(Selection(busy, IDC_CATEGORY), 1);
  EXPECT_FALSE(Enabled(busy, IDC_CATEGORY));
  EXPECT_EQ(ModeDword(1, u"ModeBusy"), 0u);
  EXPECT_EQ(ModeDword(1, u"Status"), 2u);
  EXPECT_EQ(ModeText(1, u"Category"), "N/A");

  const json& any = run.dumps[1];
  EXPECT_FALSE(Checked(any, IDC_STATUS_ON));
  EXPECT_EQ(Text(any, IDC_STATUS), "Free");
  EXPECT_FALSE(Enabled(any, IDC_STATUS));
  EXPECT_TRUE(Checked(any, IDC_CATEGORY_ON));
  EXPECT_EQ(Text(any, IDC_CATEGORY), "Holiday");
  EXPECT_EQ(Selection(any, IDC_MODE_BUSY), 2);
  EXPECT_EQ(ModeDword(2, u"Status"), 1u);  // "Tentative" picked and switched on
  EXPECT_EQ(ModeDword(2, u"ModeBusy"), 3u);
}

TEST_F(SettingsBindingTest, SwitchToOffClearsTheCalendarConditions) {
  SetModeDword(1, u"OutlookSwitch", 1);
  SetModeDword(1, u"Status", 0);
  SetModeText(1, u"Category", u"Business");
  OpenOnMode(1);
  SettingsRun run = RunSettings({"click 1027", "click 1027", "click 1027", "click 1097", "dump", "click 1113", "dump",
                                 "click 1009"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  for (int id : {IDC_STATUS_ON, IDC_CATEGORY_ON, IDC_AUTO_REFRESH}) EXPECT_FALSE(Checked(run.dumps[0], id)) << id;
  for (int id : {IDC_MODE_BUSY, IDC_STATUS, IDC_CATEGORY, IDC_AUTO_REFRESH})
    EXPECT_FALSE(Enabled(run.dumps[0], id)) << id;
  EXPECT_FALSE(Checked(run.dumps[1], IDC_STATUS_ON));  // no condition without "Switch to"
  EXPECT_EQ(ModeDword(1, u"OutlookSwitch"), 0u);
  EXPECT_EQ(ModeDword(1, u"Status"), 4u);
  EXPECT_EQ(ModeText(1, u"Category"), "N/A");
}

TEST_F(SettingsBindingTest, ValuesNoListHoldsAreKeptOnSave) {
  SetModeText(1, u"Ring Mode", u"zz9");
  SetModeText(1, u"Ring Tone", u"nosuchtone.wma");
  SetModeDword(1, u"Radio State", 2);
  SetModeDword(1, u"BT State", 7);
  SetModeDword(1, u"Headset State", 2);
  OpenOnMode(1);
  SettingsRun run = RunSettings({"dump", "click 1009"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  for (int id : {IDC_RING_PATTERN, IDC_RING_TONE, IDC_RADIO_STATE, IDC_BT_STATE, IDC_HEADSET_STATE})
    EXPECT_EQ(Selection(run.dumps[0], id), -1) << id;
  EXPECT_EQ(Text(run.dumps[0], IDC_RING_TONE), "nosuchtone.wma");
  EXPECT_EQ(ModeText(1, u"Ring Mode"), "zz9");
  EXPECT_EQ(ModeText(1, u"Ring Tone"), "nosuchtone.wma");
  EXPECT_EQ(ModeDword(1, u"Radio State"), 2u);
  EXPECT_EQ(ModeDword(1, u"BT State"), 7u);
  EXPECT_EQ(ModeDword(1, u"Headset State"), 2u);
}

TEST_F(SettingsBindingTest, SimCodeHoldsAtMostEightDigitsAndGoesWithItsCheckBox) {
  OpenOnMode(1);
  SettingsRun run = RunSettings({"click 1028", "dump", "click 1078", "type 1076 123456789", "dump", "click 1009",
                                 "click 1054", "click 1055", "dump"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_FALSE(Enabled(run.dumps[0], IDC_SIM_CODE));
  EXPECT_EQ(Text(run.dumps[1], IDC_SIM_CODE), "12345678");
  EXPECT_EQ(ModeText(1, u"Sim Code"), "12345678");
  EXPECT_TRUE(Checked(run.dumps[2], IDC_SIM_CODE_ON));
  EXPECT_EQ(Text(run.dumps[2], IDC_SIM_CODE), "12345678");

  run = RunSettings({"click 1028", "click 1078", "click 1009", "dump"});
  EXPECT_EQ(Text(run.dumps[0], IDC_SIM_CODE), "");
  EXPECT_EQ(ModeText(1, u"Sim Code"), "");
}

TEST_F(SettingsBindingTest, AutoPickUpOffStoresThreeRings) {
  OpenOnMode(1);
  SettingsRun run = RunSettings({"click 1028", "click 1072", "select 1073 6", "click 1009", "dump", "click 1072",
                                 "click 1009"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_TRUE(Enabled(run.dumps[0], IDC_PICK_UP_RINGS));
  EXPECT_EQ(ModeDword(1, u"AutoPickUp"), 0u);
  EXPECT_EQ(ModeDword(1, u"NbRingPickUp"), 3u);

  run = RunSettings({"click 1028", "click 1072", "select 1073 6", "click 1009"});
  EXPECT_EQ(ModeDword(1, u"AutoPickUp"), 1u);
  EXPECT_EQ(ModeDword(1, u"NbRingPickUp"), 7u);
}

TEST_F(SettingsBindingTest, ARenamedModeTakesItsPlaceInBothModeLists) {
  OpenOnMode(3);
  SettingsRun run = RunSettings({"type 1004 Work", "click 1009", "dump"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  const std::vector<std::string> names = {"Car", "Night", "Work", "Home", "Car"};
  EXPECT_EQ(Items(run.dumps[0], IDC_MODE_BACK), names);
  EXPECT_EQ(Items(run.dumps[0], IDC_MODE_BUSY), names);
  EXPECT_EQ(ModeText(3, u"Mode Name"), "Work");
}

TEST_F(SettingsBindingTest, TypingInTheNameMarksTheModeAsChanged) {
  OpenOnMode(3);
  SettingsRun run = RunSettings({"type 1004 Work", "click 1054", "dump"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_TRUE(Visible(run.dumps[0], IDC_QUESTION));
}

// The first event of the list, in the order of the mode's stored entries.
const char16_t kFirstEvent[] = u"ActiveSync: Begin sync";

TEST_F(SettingsBindingTest, NotificationEntryShowsItsOptionsDurationAndSound) {
  SetDword(HKEY_LOCAL_MACHINE, EntryKey(1, kFirstEvent), u"Options", 0x4000001B);  // repeat + display, vibrate, sound
  SetDword(HKEY_LOCAL_MACHINE, EntryKey(1, kFirstEvent), u"Duration", 20);
  SetText(HKEY_LOCAL_MACHINE, EntryKey(1, kFirstEvent), u"Wave", u"Alarm2");
  OpenOnMode(1);
  SettingsRun run = RunSettings({"dump"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  const json& d = run.dumps[0];
  EXPECT_EQ(Text(d, IDC_EVENT), "ActiveSync: Begin sync");
  EXPECT_TRUE(Checked(d, IDC_REPEAT));
  EXPECT_TRUE(Checked(d, IDC_DISPLAY));
  EXPECT_TRUE(Checked(d, IDC_VIBRATE));
  EXPECT_TRUE(Checked(d, IDC_PLAY_SOUND));
  EXPECT_FALSE(Checked(d, IDC_FLASH));
  EXPECT_EQ(Text(d, IDC_DURATION), "20");
  std::vector<std::string> waves = Items(d, IDC_EVENT_SOUND);
  EXPECT_EQ(Selection(d, IDC_EVENT_SOUND), std::find(waves.begin(), waves.end(), "alarm2") - waves.begin());
  EXPECT_EQ(Text(d, IDC_EVENT_SOUND), "alarm2");
}

TEST_F(SettingsBindingTest, AModeShownByAnArrowShowsItsFirstEventSoundAsStored) {
  SetText(HKEY_LOCAL_MACHINE, EntryKey(2, kFirstEvent), u"Wave", u"Alarm2");
  SetText(HKEY_LOCAL_MACHINE, EntryKey(3, kFirstEvent), u"Wave", u"nosuchsound");
  OpenOnMode(1);
  SettingsRun run = RunSettings({"click 1054", "dump", "click 1054", "dump", "click 1028", "click 1028", "select 1010 0",
                                 "dump"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_EQ(Text(run.dumps[0], IDC_EVENT_SOUND), "Alarm2");
  EXPECT_EQ(Text(run.dumps[1], IDC_EVENT_SOUND), "nosuchsound");
  EXPECT_EQ(Text(run.dumps[2], IDC_EVENT_SOUND), "Notif Sound not set");
}

TEST_F(SettingsBindingTest, PlusAndMinusStepTheDurationWithinZeroAndNinetyFive) {
  SetDword(HKEY_LOCAL_MACHINE, EntryKey(1, kFirstEvent), u"Duration", 90);
  OpenOnMode(1);
  SettingsRun run = RunSettings({"click 1028", "click 1028", "click 1020", "dump", "click 1020", "dump",
                                 "type 1012 5", "click 1021", "dump", "type 1012 3", "click 1021", "dump",
                                 "click 1020", "click 1009"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_EQ(Text(run.dumps[0], IDC_DURATION), "95");
  EXPECT_EQ(Text(run.dumps[1], IDC_DURATION), "95");
  EXPECT_EQ(Text(run.dumps[2], IDC_DURATION), "0");
  EXPECT_EQ(Text(run.dumps[3], IDC_DURATION), "0");
  EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, EntryKey(1, kFirstEvent), u"Duration"), 5u);
}

TEST_F(SettingsBindingTest, OptionBoxesAndSoundAreStoredIntoTheSelectedEntry) {
  OpenOnMode(3);  // factory options: Play Sound and Flash for
  SettingsRun run = RunSettings({"click 1028", "click 1028", "select 1010 1", "click 1105", "click 1104",
                                 "select 1013 0", "dump", "click 1009"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  std::string event = Text(run.dumps[0], IDC_EVENT);
  std::u16string key = EntryKey(3, platform::Utf8ToUtf16(event));
  EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, key, u"Options"), 0x40000000u + 4 + 16);
  EXPECT_EQ(GetText(HKEY_LOCAL_MACHINE, key, u"Wave"), Items(run.dumps[0], IDC_EVENT_SOUND)[0]);
  // The first entry was not touched.
  EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, EntryKey(3, kFirstEvent), u"Options"), 0x40000005u);
}

TEST_F(SettingsBindingTest, AnEventSoundOutsideTheWaveListIsKept) {
  SetText(HKEY_LOCAL_MACHINE, EntryKey(1, u"Alarms"), u"Wave", u"nosuchsound");
  OpenOnMode(1);
  SettingsRun run = RunSettings({"click 1028", "click 1028", "select 1010 1", "dump", "select 1010 4", "dump",
                                 "click 1108", "click 1009"});
  ASSERT_EQ(run.result.status, 0) << run.result.err;
  EXPECT_EQ(Text(run.dumps[0], IDC_EVENT), "ActiveSync: Connection ended");
  EXPECT_NE(Selection(run.dumps[0], IDC_EVENT_SOUND), -1);
  EXPECT_EQ(Text(run.dumps[1], IDC_EVENT), "Alarms");
  EXPECT_EQ(Text(run.dumps[1], IDC_EVENT_SOUND), "Notif Sound not set");
  EXPECT_EQ(Selection(run.dumps[1], IDC_EVENT_SOUND), -1);
  EXPECT_EQ(GetText(HKEY_LOCAL_MACHINE, EntryKey(1, u"Alarms"), u"Wave"), "nosuchsound");
  EXPECT_EQ(GetDword(HKEY_LOCAL_MACHINE, EntryKey(1, u"Alarms"), u"Options"), 0x40000000u + 4 + 2);
}

}  // namespace
}  // namespace settings_test
