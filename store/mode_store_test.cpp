// Loading and saving modes: the loader's repairs, over-long texts, the
// savers' phone backlight values and their handling of missing keys.
#include <strsafe.h>

#include "store/mode_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/testing/device_fixture.h"
#include "store/format_buffer.h"

namespace {

class ModeStoreTest : public testing_support::DeviceTest {
 protected:
  static HKEY OpenKey(HKEY root, const WCHAR* path) {
    HKEY key = nullptr;
    return RegOpenKeyExW(root, path, 0, 0, &key) == ERROR_SUCCESS ? key : nullptr;
  }
  static HKEY ModeKey(const WCHAR* keyName) {
    WCHAR path[WSPRINTF_BUFFER_SIZE];
    wsprintfW(path, MODE_KEY_FORMAT, keyName);
    return OpenKey(HKEY_LOCAL_MACHINE, path);
  }
  static DWORD ValueCount(HKEY key) {
    DWORD values = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    return values;
  }
  static DWORD Dword(HKEY key, const WCHAR* name) {
    DWORD value = 0xDEADBEEF, size = 4;
    RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    return value;
  }
  static std::u16string Text(HKEY key, const WCHAR* name) {
    WCHAR text[400] = {};
    DWORD size = sizeof text - 2;
    RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
    return text;
  }
  static void SetText(HKEY key, const WCHAR* name, const std::u16string& text) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * 2));
  }
  static ModeRecord SampleMode() {
    ModeRecord mode = LoadMode(u"Sample");
    mode.SystemVolume = 5;
    mode.PhoneVolume = 1;
    mode.StartHour = 22;
    mode.StartMinutes = 30;
    mode.Days = 0x1000001;
    mode.BrightNess = 0;
    mode.ACBrightNess = 10;
    StringCchCopyW(mode.ModeName, MODE_NAME_WIDTH, u"Night");
    StringCchCopyW(mode.RingMode, RING_MODE_WIDTH, u"av0pw3r");
    StringCchCopyW(mode.Category, CATEGORY_WIDTH, u"N/A");
    return mode;
  }
};

TEST_F(ModeStoreTest, LoadingAMissingModeCreatesItWithEveryDefault) {
  ModeRecord mode = LoadMode(u"Mode 3");
  EXPECT_EQ(std::u16string(mode.ModeName), u"Mode 3");
  EXPECT_EQ(mode.SystemVolume, 3u);
  EXPECT_EQ(std::u16string(mode.RingMode), u"ap");
  EXPECT_EQ(std::u16string(mode.RingTone), u"BellDitty .wma");
  EXPECT_EQ(mode.RadioState, 1u);
  EXPECT_EQ(mode.ModeBack, 1u);
  EXPECT_EQ(mode.NbRingPickUp, 3u);
  EXPECT_EQ(mode.Sound, 7u);
  EXPECT_EQ(mode.Days, 0x1111111u);
  EXPECT_EQ(std::u16string(mode.Category), u"Business");
  EXPECT_EQ(mode.BrightNess, 8u);
  EXPECT_EQ(mode.ACBrightNess, 10u);
  EXPECT_EQ(mode.BatteryTimeoutUnchecked, 180u);
  EXPECT_EQ(mode.BacklightOnTap, 1u);

  HKEY key = ModeKey(u"Mode 3");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(ValueCount(key), 30u);
  EXPECT_EQ(Text(key, MODE_NAME_VALUE), u"Mode 3");
  EXPECT_EQ(Dword(key, DAYS_VALUE), 0x1111111u);
  RegCloseKey(key);

  // Loading again returns exactly what the first load stored.
  ModeRecord again = LoadMode(u"Mode 3");
  EXPECT_EQ(std::memcmp(&mode, &again, sizeof mode), 0);
}

TEST_F(ModeStoreTest, LoadingAddsOnlyTheMissingValues) {
  SaveMode(u"Mode 2", SampleMode());
  HKEY key = ModeKey(u"Mode 2");
  ASSERT_NE(key, nullptr);
  RegDeleteValueW(key, DAYS_VALUE);
  RegDeleteValueW(key, MODE_NAME_VALUE);
  RegDeleteValueW(key, PHONE_VOLUME_VALUE);
  // A value written under another spelling is the same value.
  RegDeleteValueW(key, BRIGHTNESS_VALUE);
  DWORD seven = 7;
  RegSetValueExW(key, u"Brightness", 0, REG_DWORD, reinterpret_cast<BYTE*>(&seven), 4);

  ModeRecord mode = LoadMode(u"Mode 2");
  EXPECT_EQ(mode.Days, 0x1111111u);
  EXPECT_EQ(std::u16string(mode.ModeName), u"Mode 2");
  EXPECT_EQ(mode.PhoneVolume, 3u);
  EXPECT_EQ(mode.SystemVolume, 5u);
  EXPECT_EQ(mode.StartHour, 22u);
  EXPECT_EQ(mode.BrightNess, 7u);
  EXPECT_EQ(std::u16string(mode.RingMode), u"av0pw3r");
  EXPECT_EQ(ValueCount(key), 30u);
  EXPECT_EQ(Dword(key, DAYS_VALUE), 0x1111111u);
  EXPECT_EQ(Text(key, MODE_NAME_VALUE), u"Mode 2");
  EXPECT_EQ(Dword(key, u"Brightness"), 7u);
  RegCloseKey(key);
}

TEST_F(ModeStoreTest, OverLongTextsAreCutToTheirFieldAndKeptInTheStore) {
  LoadMode(u"Mode 1");
  HKEY key = ModeKey(u"Mode 1");
  ASSERT_NE(key, nullptr);
  std::u16string name60(60, u'N'), tone140(140, u't'), ring30(30, u'a');
  name60[48] = u'x';
  SetText(key, MODE_NAME_VALUE, name60);
  SetText(key, RING_TONE_VALUE, tone140);
  SetText(key, RING_MODE_VALUE, ring30);
  SetText(key, SIM_CODE_VALUE, u"123456789012");
  // Written by someone else without a terminator, odd length.
  const BYTE raw[] = {'N', 0, '/', 0, 'A', 0, '!'};
  RegSetValueExW(key, CATEGORY_VALUE, 0, REG_SZ, raw, sizeof raw);

  ModeRecord mode = LoadMode(u"Mode 1");
  EXPECT_EQ(std::u16string(mode.ModeName), name60.substr(0, MODE_NAME_WIDTH - 1));
  EXPECT_EQ(std::u16string(mode.RingTone), tone140);
  EXPECT_EQ(std::u16string(mode.RingMode), ring30.substr(0, RING_MODE_WIDTH - 1));
  EXPECT_EQ(std::u16string(mode.SimCode), u"12345678");
  EXPECT_EQ(std::u16string(mode.Category), u"N/A");
  EXPECT_EQ(Text(key, MODE_NAME_VALUE), name60);
  EXPECT_EQ(Text(key, RING_MODE_VALUE), ring30);
  RegCloseKey(key);
}

TEST_F(ModeStoreTest, SavingSetsThePhonesBacklightSwitches) {
  SaveMode(u"Mode 4", SampleMode());
  HKEY backlight = OpenKey(HKEY_CURRENT_USER, BACKLIGHT_KEY);
  ASSERT_NE(backlight, nullptr);
  EXPECT_EQ(Dword(backlight, ON_OFF_BATT_VALUE), 0u);
  EXPECT_EQ(Dword(backlight, ON_OFF_AC_VALUE), 1u);
  ModeRecord bright = SampleMode();
  bright.BrightNess = 1;
  bright.ACBrightNess = 0;
  SaveMode(u"Mode 4", bright);
  EXPECT_EQ(Dword(backlight, ON_OFF_BATT_VALUE), 1u);
  EXPECT_EQ(Dword(backlight, ON_OFF_AC_VALUE), 0u);
  RegCloseKey(backlight);

  HKEY key = ModeKey(u"Mode 4");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(ValueCount(key), 30u);
  EXPECT_EQ(Text(key, MODE_NAME_VALUE), u"Night");
  EXPECT_EQ(Dword(key, START_MINUTES_VALUE), 30u);
  RegCloseKey(key);
}

TEST(ModeStoreOnABarePhone, SavingWithoutABacklightKeySavesTheModeAndCreatesNoPhoneKey) {
  platform::DeviceOptions options;
  options.empty = true;
  testing_support::TempDevice device(options);
  ModeRecord mode = LoadMode(u"Mode 5");
  mode.StopHour = 7;
  SaveMode(u"Mode 5", mode);
  EXPECT_EQ(LoadMode(u"Mode 5").StopHour, 7u);
  HKEY key;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, BACKLIGHT_KEY, 0, 0, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(ModeStoreTest, SavingAnExistingModeNeedsItsKey) {
  SaveExistingMode(u"Mode 3", SampleMode());
  EXPECT_EQ(ModeKey(u"Mode 3"), nullptr);

  LoadMode(u"Mode 3");
  HKEY backlight = OpenKey(HKEY_CURRENT_USER, BACKLIGHT_KEY);
  DWORD onOffBatt = Dword(backlight, ON_OFF_BATT_VALUE);
  SaveExistingMode(u"Mode 3", SampleMode());
  EXPECT_EQ(Dword(backlight, ON_OFF_BATT_VALUE), onOffBatt);
  RegCloseKey(backlight);
  ModeRecord loaded = LoadMode(u"Mode 3");
  EXPECT_EQ(std::u16string(loaded.ModeName), u"Night");
  EXPECT_EQ(loaded.Days, 0x1000001u);
}

TEST_F(ModeStoreTest, WritingTheModeNameWritesItWholeAndCreatesTheKey) {
  std::u16string name99(99, u'm');
  WriteModeName(u"Mode 1", name99.c_str());
  HKEY key = ModeKey(u"Mode 1");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(Text(key, MODE_NAME_VALUE), name99);
  EXPECT_EQ(ValueCount(key), 1u);
  RegCloseKey(key);
}

}  // namespace
