// The registry helpers that every program shares: what each reader takes,
// what it leaves alone, and that every copy stays within its field.
#include "store/registry_values.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/testing/device_fixture.h"
#include "store/mode_keys.h"
#include "store/root_values.h"
#include "store/temporary_switch.h"

namespace {

class RegistryValuesTest : public testing_support::DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(key);
    DeviceTest::TearDown();
  }
  void SetRaw(const WCHAR* name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  }
  HKEY key = nullptr;
};

}  // namespace

TEST_F(RegistryValuesTest, NumbersOfAnyTypeUpToFourBytesAreTakenLongerOnesLeaveTheField) {
  const BYTE two[] = {0x34, 0x12};
  SetRaw(u"short", REG_BINARY, two, sizeof two);
  const BYTE six[] = {1, 2, 3, 4, 5, 6};
  SetRaw(u"long", REG_BINARY, six, sizeof six);
  DWORD field = 7;
  EXPECT_EQ(ReadDwordValue(key, u"short", &field), ERROR_SUCCESS);
  EXPECT_EQ(field, 0x1234u);
  field = 7;
  EXPECT_NE(ReadDwordValue(key, u"long", &field), ERROR_SUCCESS);
  EXPECT_NE(ReadDwordValue(key, u"missing", &field), ERROR_SUCCESS);
  EXPECT_EQ(field, 7u);
}

TEST_F(RegistryValuesTest, TypedNumbersTakeOnlyAFourByteDword) {
  WriteDwordValue(key, u"word", 0x40000004);
  const WCHAR text[] = u"4";
  SetRaw(u"text", REG_SZ, text, sizeof text);
  const BYTE two[] = {4, 0};
  SetRaw(u"short", REG_DWORD, two, sizeof two);
  DWORD field = 9;
  EXPECT_EQ(ReadTypedDwordValue(key, u"word", &field), ERROR_SUCCESS);
  EXPECT_EQ(field, 0x40000004u);
  field = 9;
  EXPECT_EQ(ReadTypedDwordValue(key, u"text", &field), ERROR_INVALID_DATA);
  EXPECT_EQ(ReadTypedDwordValue(key, u"short", &field), ERROR_INVALID_DATA);
  EXPECT_EQ(ReadTypedDwordValue(key, u"missing", &field), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(field, 9u);
}

TEST_F(RegistryValuesTest, TextsAreReadWholeAndCutToTheFieldAlwaysTerminated) {
  std::u16string longText(700, u'x');
  SetRaw(u"long", REG_SZ, longText.c_str(), static_cast<DWORD>((longText.size() + 1) * sizeof(WCHAR)));
  const WCHAR unterminated[] = {u'a', u'b', u'c'};
  SetRaw(u"bare", REG_SZ, unterminated, sizeof unterminated);
  WCHAR field[5];
  EXPECT_EQ(ReadTextValue(key, u"long", field, 5), ERROR_SUCCESS);
  EXPECT_EQ(std::u16string(field), u"xxxx");
  EXPECT_EQ(ReadTextValue(key, u"bare", field, 5), ERROR_SUCCESS);
  EXPECT_EQ(std::u16string(field), u"abc");
  EXPECT_EQ(ReadTextValue(key, u"missing", field, 5), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(std::u16string(field), u"abc");

  const WCHAR full[4] = {u'w', u'x', u'y', u'z'};
  WriteTextValue(key, u"written", full, 4);
  WCHAR back[10];
  ReadTextValue(key, u"written", back, 10);
  EXPECT_EQ(std::u16string(back), u"wxyz");
}

TEST_F(RegistryValuesTest, RootWordsAreReadOnlyAsDwordsAndNeverCreateTheKey) {
  WriteRootDword(DEFAULT_MODE_VALUE, 3);
  DWORD mode = 0;
  EXPECT_TRUE(ReadRootDword(DEFAULT_MODE_VALUE, &mode));
  EXPECT_EQ(mode, 3u);
  const WCHAR text[] = u"2";
  SetRaw(TIME_SWITCH_VALUE, REG_SZ, text, sizeof text);
  DWORD state = 5;
  EXPECT_FALSE(ReadRootDword(TIME_SWITCH_VALUE, &state));
  EXPECT_EQ(state, 5u);
  EXPECT_TRUE(RootValueStored(TIME_SWITCH_VALUE));

  RegDeleteKeyW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY);
  WriteRootDword(DEFAULT_MODE_VALUE, 4);
  EXPECT_FALSE(RootValueStored(DEFAULT_MODE_VALUE));
  HKEY root;
  EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &root), ERROR_SUCCESS);
}

TEST_F(RegistryValuesTest, ATemporarySwitchLivesInOneModeKeyUntilItIsCleared) {
  WriteTemporarySwitch(2, 4, 9, 5);
  PendingSwitch pending;
  FindPendingSwitch(&pending);
  EXPECT_TRUE(pending.Pending);
  EXPECT_EQ(pending.Mode, 2u);
  EXPECT_EQ(pending.StopHour, 9u);
  EXPECT_EQ(pending.StopMinutes, 5u);
  EXPECT_EQ(pending.ModeBack, 4u);

  WriteTemporarySwitch(3, 1, 0, 30);
  FindPendingSwitch(&pending);
  EXPECT_EQ(pending.Mode, 3u);
  EXPECT_EQ(pending.ModeBack, 1u);

  ClearTemporaryStops();
  FindPendingSwitch(&pending);
  EXPECT_FALSE(pending.Pending);
}

TEST_F(RegistryValuesTest, AModeNameIsCutToItsFieldAndOnlyTextCounts) {
  WCHAR path[MODE_KEY_PATH_SIZE];
  ModeKeyPath(2, path);
  EXPECT_EQ(std::u16string(path), u"\\Software\\Microsoft\\Today\\Items\\Selvane\\Mode 2");
  HKEY mode;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr, &mode, nullptr),
            ERROR_SUCCESS);
  std::u16string longName(80, u'n');
  RegSetValueExW(mode, MODE_NAME_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(longName.c_str()),
                 static_cast<DWORD>((longName.size() + 1) * sizeof(WCHAR)));
  WCHAR name[MODE_NAME_WIDTH];
  ReadModeName(2, name);
  EXPECT_EQ(std::u16string(name), u"");  // longer than the name's buffer: not read at all
  RegSetValueExW(mode, MODE_NAME_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(u"Night"), 12);
  ReadModeName(2, name);
  EXPECT_EQ(std::u16string(name), u"Night");
  DWORD number = 7;
  RegSetValueExW(mode, MODE_NAME_VALUE, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4);
  ReadModeName(2, name);
  EXPECT_EQ(std::u16string(name), u"");
  RegCloseKey(mode);
}
