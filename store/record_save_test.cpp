// Whole-record saves: nothing reaches the mode key before the save ends, and
// what a killed save leaves is rolled forward past its mark, dropped before it.
#include "store/record_save.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/testing/device_fixture.h"
#include "store/format_buffer.h"
#include "store/mode_store.h"
#include "store/notification_table.h"
#include "store/root_values.h"
#include "store/switch_records.h"

namespace {

class RecordSaveTest : public testing_support::DeviceTest {
 protected:
  static std::u16string Path(const char16_t* name) {
    WCHAR path[WSPRINTF_BUFFER_SIZE];
    wsprintfW(path, MODE_KEY_FORMAT, name);
    return path;
  }
  static bool KeyExists(const char16_t* name) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, Path(name).c_str(), 0, 0, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
  static DWORD Dword(const std::u16string& path, const char16_t* name) {
    HKEY key;
    DWORD value = 0xDEADBEEF, size = sizeof value;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, 0, &key) != ERROR_SUCCESS) return value;
    RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return value;
  }
  static void SetDword(const std::u16string& path, const char16_t* name, DWORD value) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
  }
  static void Mark(const char16_t* keyName) {
    HKEY root;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &root), ERROR_SUCCESS);
    RegSetValueExW(root, SAVE_UNDERWAY_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(keyName),
                   static_cast<DWORD>((std::u16string(keyName).size() + 1) * sizeof(WCHAR)));
    RegCloseKey(root);
  }
  // "Mode 3" as stored before a save, and its one notification entry.
  void SetUp() override {
    DeviceTest::SetUp();
    ModeRecord mode = LoadMode(u"Mode 3");
    mode.SystemVolume = 1;
    SaveMode(u"Mode 3", mode);
    SetDword(Path(u"Mode 3\\Notifications\\Reminders"), u"Options", 0x40000001);
  }
  static NotificationSetting Entry(DWORD options) {
    NotificationSetting entry = {};
    std::u16string(u"Reminders").copy(entry.EventName, EVENT_NAME_WIDTH - 1);
    entry.Options = options;
    return entry;
  }
};

TEST_F(RecordSaveTest, NothingReachesTheModeKeyBeforeTheSaveEndsAndAllOfItThen) {
  ModeRecord mode = LoadMode(u"Mode 3");
  mode.SystemVolume = 5;
  BeginRecordSave(u"Mode 3");
  SaveMode(u"Mode 3", mode);
  SaveNotification(u"Mode 3", Entry(0x40000008));
  WriteModeName(u"Mode 3", u"Renamed");
  EXPECT_EQ(Dword(Path(u"Mode 3"), SYSTEM_VOLUME_VALUE), 1u);
  EXPECT_EQ(Dword(Path(u"Mode 3\\Notifications\\Reminders"), u"Options"), 0x40000001u);
  EndRecordSave();

  ModeRecord saved = LoadMode(u"Mode 3");
  EXPECT_EQ(saved.SystemVolume, 5u);
  EXPECT_EQ(std::u16string(saved.ModeName), u"Renamed");
  EXPECT_EQ(Dword(Path(u"Mode 3\\Notifications\\Reminders"), u"Options"), 0x40000008u);
  EXPECT_FALSE(KeyExists(SAVE_SCRATCH_KEY_NAME));
  EXPECT_FALSE(RootValueStored(SAVE_UNDERWAY_VALUE));
}

TEST_F(RecordSaveTest, NestedSavesCommitOnceAtTheOutermostEnd) {
  ModeRecord mode = LoadMode(u"Mode 3");
  mode.SystemVolume = 4;
  BeginRecordSave(u"Mode 3");
  BeginRecordSave(u"Mode 3");
  SaveExistingMode(u"Mode 3", mode);
  EndRecordSave();
  EXPECT_EQ(Dword(Path(u"Mode 3"), SYSTEM_VOLUME_VALUE), 1u);
  EndRecordSave();
  EXPECT_EQ(Dword(Path(u"Mode 3"), SYSTEM_VOLUME_VALUE), 4u);
}

TEST_F(RecordSaveTest, ASaveIntoAMissingKeyWithSaveExistingModeCreatesNothing) {
  BeginRecordSave(u"Mode 2");
  SaveExistingMode(u"Mode 2", LoadMode(u"Mode 3"));
  EndRecordSave();
  EXPECT_FALSE(KeyExists(u"Mode 2"));
  EXPECT_FALSE(KeyExists(SAVE_SCRATCH_KEY_NAME));
}

TEST_F(RecordSaveTest, AScratchKeyWithoutItsMarkIsDropped) {
  SetDword(Path(SAVE_SCRATCH_KEY_NAME), SYSTEM_VOLUME_VALUE, 5);
  FinishInterruptedSave();
  EXPECT_EQ(Dword(Path(u"Mode 3"), SYSTEM_VOLUME_VALUE), 1u);
  EXPECT_FALSE(KeyExists(SAVE_SCRATCH_KEY_NAME));
}

TEST_F(RecordSaveTest, AMarkedSaveIsCopiedWholeIntoItsModeKey) {
  SetDword(Path(SAVE_SCRATCH_KEY_NAME), SYSTEM_VOLUME_VALUE, 5);
  SetDword(Path(u"Saving\\Notifications\\Reminders"), u"Options", 0x40000010);
  Mark(u"Mode 3");
  FinishInterruptedSave();
  EXPECT_EQ(Dword(Path(u"Mode 3"), SYSTEM_VOLUME_VALUE), 5u);
  EXPECT_EQ(Dword(Path(u"Mode 3\\Notifications\\Reminders"), u"Options"), 0x40000010u);
  EXPECT_FALSE(KeyExists(SAVE_SCRATCH_KEY_NAME));
  EXPECT_FALSE(RootValueStored(SAVE_UNDERWAY_VALUE));
}

TEST_F(RecordSaveTest, AMarkNamingNoModeKeyWritesNothing) {
  SetDword(Path(SAVE_SCRATCH_KEY_NAME), SYSTEM_VOLUME_VALUE, 5);
  for (const char16_t* name : {u"DLL", u"Mode 3\\Notifications", u"Mode "}) {
    Mark(name);
    FinishInterruptedSave();
    EXPECT_FALSE(RootValueStored(SAVE_UNDERWAY_VALUE));
  }
  EXPECT_EQ(Dword(Path(u"Mode 3"), SYSTEM_VOLUME_VALUE), 1u);
  EXPECT_EQ(Dword(Path(u"DLL"), SYSTEM_VOLUME_VALUE), 0xDEADBEEFu);
}

TEST_F(RecordSaveTest, ARecordOfAnotherSizeOrTypeIsNotRead) {
  ModeSwitchRecord record = {};
  record.Mode = 2;
  RecordModeSwitch(&record);
  ModeSwitchRecord read = {};
  EXPECT_TRUE(ReadModeSwitchRecord(&read));
  EXPECT_EQ(read.Mode, 2u);
  WriteRootRecord(MODE_SWITCH_RECORD_VALUE, &record, sizeof record - 1);
  EXPECT_FALSE(ReadModeSwitchRecord(&read));
  WriteRootDword(MODE_SWITCH_RECORD_VALUE, 2);
  EXPECT_FALSE(ReadModeSwitchRecord(&read));
  ClearModeSwitchRecord();
  EXPECT_FALSE(RootValueStored(MODE_SWITCH_RECORD_VALUE));
}

}  // namespace
