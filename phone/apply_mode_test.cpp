// ApplyMode on a fresh phone: what reaches the phone's registry keys, the
// wave device, the backlight event, the radio and the Bluetooth helper.

#include <extapi.h>
#include <windows.h>

#include "phone/apply_mode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "phone/backlight_settings.h"
#include "phone/bluetooth_control.h"
#include "phone/device_states.h"
#include "phone/radio_switch.h"
#include "phone/sound_settings.h"
#include "platform/kernel/journal.h"
#include "platform/kernel/program.h"
#include "platform/testing/device_fixture.h"
#include "platform/text/utf.h"
#include "store/mode_store.h"

namespace {

class ApplyModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // No built programs here: the Bluetooth helper's start is journalled
    // but never runs, so each test sees only its own process's calls.
    bin_ = std::filesystem::temp_directory_path() / ("selvane-no-bin-" + std::to_string(getpid()));
    std::filesystem::create_directories(bin_);
    setenv("SELVANE_BIN", bin_.c_str(), 1);
    device_ = std::make_unique<testing_support::TempDevice>(options_);
    mode_ = LoadMode(u"Mode 1");
    platform::JournalClear();
  }
  void TearDown() override {
    EXPECT_TRUE(WaitForRadioSwitches(5000));
    device_.reset();
    std::filesystem::remove_all(bin_);
  }

  // Applies the mode and waits for its radio thread.
  void Apply() {
    ApplyMode(nullptr, mode_);
    ASSERT_TRUE(WaitForRadioSwitches(5000));
  }

  platform::DeviceOptions options_;
  std::filesystem::path bin_;
  std::unique_ptr<testing_support::TempDevice> device_;
  ModeRecord mode_;
};

// A value of an HKEY_CURRENT_USER key, or -1 when missing.
int64_t Dword(LPCWSTR key, LPCWSTR name) {
  HKEY opened;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, 0, &opened) != ERROR_SUCCESS) return -1;
  DWORD value = 0, size = sizeof value, type = 0;
  LONG result = RegQueryValueExW(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(opened);
  return result == ERROR_SUCCESS && type == REG_DWORD ? value : -1;
}

// A REG_SZ value's raw bytes, as stored.
std::string RawValue(LPCWSTR key, LPCWSTR name) {
  HKEY opened;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, 0, &opened) != ERROR_SUCCESS) return "<no key>";
  BYTE data[1024];
  DWORD size = sizeof data, type = 0;
  LONG result = RegQueryValueExW(opened, name, nullptr, &type, data, &size);
  RegCloseKey(opened);
  return result == ERROR_SUCCESS ? std::string(reinterpret_cast<char*>(data), size) : "<none>";
}

std::string Text(LPCWSTR key, LPCWSTR name) {
  std::string raw = RawValue(key, name);
  if (raw.size() < 2 || raw[0] == '<') return raw;
  std::u16string text(raw.size() / 2 - 1, u'\0');
  std::memcpy(text.data(), raw.data(), text.size() * 2);
  return platform::Utf16ToUtf8(text);
}

std::vector<std::string> Journal() {
  std::vector<std::string> lines;
  for (const auto& line : platform::JournalRead()) lines.push_back(line.text);
  return lines;
}

std::vector<std::string> JournalStartingWith(const std::string& prefix) {
  std::vector<std::string> lines;
  for (const auto& text : Journal())
    if (text.rfind(prefix, 0) == 0) lines.push_back(text);
  return lines;
}

void SetText(WCHAR* field, size_t width, const char16_t* text) {
  std::u16string value(text);
  ASSERT_LT(value.size(), width);
  std::memcpy(field, value.c_str(), (value.size() + 1) * sizeof(WCHAR));
}

TEST_F(ApplyModeTest, VolumeLevelsGoThroughThreeSeparateTables) {
  struct Case {
    DWORD level;
    const char* wave;
    int64_t ringer;
    int64_t initVol;
    int64_t phone;
  };
  const Case cases[] = {
      {0, "waveOutSetVolume 0x00000000", 0x00000000, 0, 0x1111},
      {1, "waveOutSetVolume 0x00003333", 0x33333333, 1, 0x3333},
      {3, "waveOutSetVolume 0x00009999", 0x99999999, 3, 0x9999},
      {5, "waveOutSetVolume 0x0000FFFF", 0xFFFFFFFF, 5, 0xFFFF},
      {6, "waveOutSetVolume 0x00000000", 0x00000000, 0, 0x0000},
      {0xFFFFFFFF, "waveOutSetVolume 0x00000000", 0x00000000, 0, 0x0000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level);
    platform::JournalClear();
    mode_.SystemVolume = mode_.PhoneVolume = mode_.SpeakerVolume = c.level;
    Apply();
    EXPECT_EQ(JournalStartingWith("waveOutSetVolume"), std::vector<std::string>{c.wave});
    EXPECT_EQ(Dword(VOLUME_KEY, RINGER_VALUE), c.ringer);
    EXPECT_EQ(Dword(RING_CATEGORY_KEY, INIT_VOL_VALUE), c.initVol);
    EXPECT_EQ(Dword(PHONE_KEY, PHONE_VOL_VALUE), c.phone);
    EXPECT_EQ(Dword(PHONE_KEY, RINGER_VALUE), c.phone);
  }
}

TEST_F(ApplyModeTest, SystemVolumeAboveTheWaveRangeIsClamped) {
  EXPECT_EQ(SetSystemVolume(nullptr, 0x12345678), 0);
  EXPECT_EQ(Journal(), std::vector<std::string>{"waveOutSetVolume 0x0000FFFF"});
}

TEST_F(ApplyModeTest, RingScriptIsWrittenAsItIsAndAnEmptyToneLeavesTheRingTone) {
  SetText(mode_.RingMode, RING_MODE_WIDTH, u"v3w3apw3r");
  SetText(mode_.RingTone, RING_TONE_WIDTH, u"ring2.wma");
  Apply();
  EXPECT_EQ(Text(RING_TONE_KEY, RING_SCRIPT_VALUE), "v3w3apw3r");
  EXPECT_EQ(Text(RING_TONE_KEY, RING_SOUND_VALUE), "ring2.wma");

  SetText(mode_.RingMode, RING_MODE_WIDTH, u"");
  SetText(mode_.RingTone, RING_TONE_WIDTH, u"");
  Apply();
  EXPECT_EQ(RawValue(RING_TONE_KEY, RING_SCRIPT_VALUE), std::string(2, '\0'));
  EXPECT_EQ(Text(RING_TONE_KEY, RING_SOUND_VALUE), "ring2.wma");
}

TEST_F(ApplyModeTest, TextFieldsWithoutTerminatorAreCutToTheirWidth) {
  for (WCHAR& c : mode_.RingMode) c = u'w';
  Apply();
  EXPECT_EQ(Text(RING_TONE_KEY, RING_SCRIPT_VALUE), std::string(RING_MODE_WIDTH - 1, 'w'));
}

TEST_F(ApplyModeTest, AutoPickUpWritesTheRingCountBeforeTheSwitch) {
  HKEY key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, AUTO_PICK_UP_KEY, 0, 0, &key), ERROR_SUCCESS);
  RegDeleteValueW(key, PICK_UP_RINGS_VALUE);
  RegDeleteValueW(key, AUTO_PICK_UP_VALUE);
  RegCloseKey(key);
  mode_.AutoPickUp = 1;
  mode_.NbRingPickUp = 5;
  // The order of the writes, seen as the registry runs them.
  std::vector<std::string> order;
  sqlite3_trace_v2(
      platform::DeviceDb(), SQLITE_TRACE_STMT,
      [](unsigned, void* context, void* statement, void*) {
        char* sql = sqlite3_expanded_sql(static_cast<sqlite3_stmt*>(statement));
        std::string text = sql ? sql : "";
        sqlite3_free(sql);
        if (text.rfind("INSERT INTO reg_values", 0) != 0) return 0;
        auto* names = static_cast<std::vector<std::string>*>(context);
        for (const char* name : {"'AutoPickUp'", "'Ring'"})
          if (text.find(name) != std::string::npos) names->push_back(std::string(name + 1, std::strlen(name) - 2));
        return 0;
      },
      &order);
  Apply();
  sqlite3_trace_v2(platform::DeviceDb(), 0, nullptr, nullptr);
  EXPECT_EQ(Dword(AUTO_PICK_UP_KEY, PICK_UP_RINGS_VALUE), 5);
  EXPECT_EQ(Dword(AUTO_PICK_UP_KEY, AUTO_PICK_UP_VALUE), 1);
  EXPECT_EQ(order, (std::vector<std::string>{"Ring", "AutoPickUp"}));
}

TEST_F(ApplyModeTest, SoundBitsGoToMuteAndTheAudioSystemReloadsThreeTimes) {
  mode_.Sound = 6;
  Apply();
  EXPECT_EQ(Dword(VOLUME_KEY, MUTE_VALUE), 6);
  EXPECT_EQ(JournalStartingWith("AudioUpdateFromRegistry").size(), 3u);
}

TEST_F(ApplyModeTest, BacklightValuesAreWrittenAsStoredWithTheirSwitchesAndSignalledSixTimes) {
  mode_.BrightNess = 1;
  mode_.ACBrightNess = 0;
  mode_.BatteryTimeout = 30;
  mode_.BatteryTimeoutUnchecked = 0;
  mode_.BacklightOnTap = 0;
  Apply();
  EXPECT_EQ(Dword(BACKLIGHT_KEY, BRIGHTNESS_VALUE), 1);
  EXPECT_EQ(Dword(BACKLIGHT_KEY, ON_OFF_BATT_VALUE), 1);
  EXPECT_EQ(Dword(BACKLIGHT_KEY, AC_BRIGHTNESS_VALUE), 0);
  EXPECT_EQ(Dword(BACKLIGHT_KEY, ON_OFF_AC_VALUE), 0);
  EXPECT_EQ(Dword(BACKLIGHT_KEY, BATTERY_TIMEOUT_VALUE), 30);
  EXPECT_EQ(Dword(BACKLIGHT_KEY, BATTERY_TIMEOUT_UNCHECKED_VALUE), 0);
  EXPECT_EQ(Dword(BACKLIGHT_KEY, BACKLIGHT_ON_TAP_VALUE), 0);

  const std::string signal = "EventModify \"BackLightChangeEvent\" 3";
  EXPECT_EQ(JournalStartingWith("EventModify"), std::vector<std::string>(6, signal));
  // The last signal comes after everything else the apply did here.
  EXPECT_EQ(Journal().back(), signal);
  Apply();
  EXPECT_EQ(JournalStartingWith("EventModify").size(), 12u);
}

TEST_F(ApplyModeTest, MissingPhoneKeysAreNotCreatedAndTheBacklightIsStillSignalled) {
  RegDeleteKeyW(HKEY_CURRENT_USER, BACKLIGHT_KEY);
  RegDeleteKeyW(HKEY_CURRENT_USER, HEADSET_PROFILE_KEY);
  RegDeleteKeyW(HKEY_CURRENT_USER, VOLUME_KEY);
  Apply();
  HKEY key;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, BACKLIGHT_KEY, 0, 0, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, HEADSET_PROFILE_KEY, 0, 0, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, VOLUME_KEY, 0, 0, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(JournalStartingWith("EventModify").size(), 6u);
  // A missing volume key does not keep "InitVol" from being written.
  EXPECT_EQ(Dword(RING_CATEGORY_KEY, INIT_VOL_VALUE), 3);
}

TEST_F(ApplyModeTest, HeadsetValueIsWrittenOnlyForOnAndOff) {
  const struct {
    DWORD state;
    int64_t expected;
  } cases[] = {{0, 0}, {1, 1}, {3, 1}, {2, 1}, {0, 0}, {3, 0}};
  for (const auto& c : cases) {
    mode_.HeadsetState = c.state;
    Apply();
    EXPECT_EQ(Dword(HEADSET_PROFILE_KEY, HEADSET_ON_VALUE), c.expected) << c.state;
  }
}

TEST_F(ApplyModeTest, BluetoothHelperIsStartedWithTheStateForEveryValue) {
  for (DWORD state = 0; state <= 4; ++state) {
    platform::JournalClear();
    mode_.BTState = state;
    Apply();
    auto starts = JournalStartingWith("CreateProcessW");
    ASSERT_EQ(starts.size(), 1u);
    const std::string expected =
        "CreateProcessW \"\\Program files\\Selvane\\Kestrow.exe\" \"" + std::to_string(state) + "\"";
    EXPECT_EQ(starts[0].substr(0, expected.size()), expected);
    // The helper starts first of all.
    EXPECT_EQ(Journal().front(), starts[0]);
  }
}

TEST_F(ApplyModeTest, BluetoothHelperComesFromTheInstallFolderOfTheStore) {
  HKEY key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &key), ERROR_SUCCESS);
  const std::u16string dll = u"\\Storage Card\\Tools\\Selvane.dll";
  RegSetValueExW(key, DLL_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(dll.c_str()),
                 static_cast<DWORD>((dll.size() + 1) * 2));
  RegCloseKey(key);
  mode_.BTState = 2;
  Apply();
  EXPECT_EQ(JournalStartingWith("CreateProcessW"),
            std::vector<std::string>{"CreateProcessW \"\\Storage Card\\Tools\\Kestrow.exe\" \"2\" failed"});
}

TEST_F(ApplyModeTest, ApplyingLeavesTheStoreAsItWas) {
  const ModeRecord stored = mode_;
  mode_.SystemVolume = 5;
  mode_.RadioState = RADIO_OFF;
  Apply();
  ModeRecord again = LoadMode(u"Mode 1");
  EXPECT_EQ(std::memcmp(&again, &stored, sizeof again), 0);
}

// The radio: the fresh phone's is fully on with its SIM unlocked.
TEST_F(ApplyModeTest, RadioAlreadyOnIsLeftAloneAndNoCodeIsOffered) {
  mode_.RadioState = RADIO_ON;
  SetText(mode_.SimCode, SIM_CODE_WIDTH, u"1234");
  Apply();
  EXPECT_TRUE(JournalStartingWith("lineSetEquipmentState").empty());
  EXPECT_TRUE(JournalStartingWith("SimUnlockPhone").empty());
  EXPECT_TRUE(JournalStartingWith("lineRegister").empty());
}

TEST_F(ApplyModeTest, RadioOffThenOnOffersTheCodeOnlyWhenSwitchingOn) {
  mode_.RadioState = RADIO_OFF;
  SetText(mode_.SimCode, SIM_CODE_WIDTH, u"1234");
  Apply();
  EXPECT_EQ(JournalStartingWith("lineSetEquipmentState"), std::vector<std::string>{"lineSetEquipmentState 1"});
  EXPECT_TRUE(JournalStartingWith("SimUnlockPhone").empty());
  EXPECT_TRUE(JournalStartingWith("lineRegister").empty());
  EXPECT_EQ(platform::DeviceValue("radio.equipment"), "1");

  platform::JournalClear();
  mode_.RadioState = RADIO_ON;
  Apply();
  const std::vector<std::string> expected = {"lineSetEquipmentState 5", "SimUnlockPhone \"1234\" ok",
                                             "lineRegister 1"};
  std::vector<std::string> radio;
  for (const auto& line : Journal())
    if (line.rfind("line", 0) == 0 || line.rfind("Sim", 0) == 0) radio.push_back(line);
  EXPECT_EQ(radio, expected);
  EXPECT_EQ(platform::DeviceValue("radio.registered"), "1");
}

TEST_F(ApplyModeTest, WrongCodeFailsButRegistrationIsStillRequested) {
  mode_.RadioState = RADIO_OFF;
  Apply();
  platform::JournalClear();
  mode_.RadioState = RADIO_ON;
  SetText(mode_.SimCode, SIM_CODE_WIDTH, u"9999");
  Apply();
  EXPECT_EQ(JournalStartingWith("SimUnlockPhone"), std::vector<std::string>{"SimUnlockPhone \"9999\" failed"});
  EXPECT_EQ(JournalStartingWith("lineRegister"), std::vector<std::string>{"lineRegister 1"});
  EXPECT_EQ(platform::DeviceValue("sim.locked"), "1");
  EXPECT_EQ(platform::DeviceValue("radio.registered"), "0");
}

TEST_F(ApplyModeTest, RadioNoChangeAndMeaninglessValuesMakeNoTelephonyCall) {
  for (DWORD state : {3u, 2u, 77u}) {
    mode_.RadioState = state;
    Apply();
  }
  EXPECT_TRUE(JournalStartingWith("line").empty());
  EXPECT_TRUE(JournalStartingWith("Sim").empty());
}

TEST_F(ApplyModeTest, WithoutALineTheRadioIsNotSwitchedAndNoCodeOffered) {
  platform::SetDeviceValue("line.devices", "0");
  for (DWORD state : {DWORD(RADIO_OFF), DWORD(RADIO_ON)}) {
    mode_.RadioState = state;
    Apply();
  }
  EXPECT_TRUE(JournalStartingWith("line").empty());
  EXPECT_TRUE(JournalStartingWith("Sim").empty());
  EXPECT_NE(SetRadioState(LINEEQUIPSTATE_MINIMUM, u"1234"), 0);
}

TEST_F(ApplyModeTest, EachRadioThreadKeepsTheCodeItWasStartedWith) {
  mode_.RadioState = RADIO_OFF;
  Apply();
  platform::JournalClear();
  // Two applies at once: the second must not change the first one's code.
  mode_.RadioState = RADIO_ON;
  SetText(mode_.SimCode, SIM_CODE_WIDTH, u"1111");
  ApplyMode(nullptr, mode_);
  mode_.RadioState = RADIO_NO_CHANGE;
  SetText(mode_.SimCode, SIM_CODE_WIDTH, u"2222");
  ApplyMode(nullptr, mode_);
  ASSERT_TRUE(WaitForRadioSwitches(5000));
  EXPECT_EQ(JournalStartingWith("SimUnlockPhone"), std::vector<std::string>{"SimUnlockPhone \"1111\" failed"});
}

TEST_F(ApplyModeTest, ProgramEndWaitsForTheRadioThread) {
  mode_.RadioState = RADIO_OFF;
  ApplyMode(nullptr, mode_);
  // What the program entry runs after WinMain returns.
  platform::RunProgramExit();
  EXPECT_EQ(JournalStartingWith("lineSetEquipmentState"), std::vector<std::string>{"lineSetEquipmentState 1"});
}

TEST(RingPatternTest, FindRingPatternMatchesWholeScriptsExactly) {
  EXPECT_EQ(FindRingPattern(u"ap"), 3);
  EXPECT_EQ(FindRingPattern(u"apw3r"), 2);
  EXPECT_EQ(FindRingPattern(u"a"), 0);
  EXPECT_EQ(FindRingPattern(u"APW3R"), -1);
  EXPECT_EQ(FindRingPattern(u""), -1);
  for (int i = 0; i < RING_PATTERNS; ++i) EXPECT_EQ(FindRingPattern(RingPatternTable[i].Script), i);
}

}  // namespace
