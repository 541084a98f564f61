// The root key the item holds open reads what the store holds now: values
// written after it was opened, a key deleted and made again, a key gone.
#include <gtest/gtest.h>

#include "platform/testing/device_fixture.h"
#include "store/mode_store.h"
#include "store/registry_values.h"
#include "store/root_values.h"
#include "today/held_root_key.h"

namespace {

const WCHAR TimeSwitchName[] = TEXT("TimeSwitch");

class HeldRootKey : public testing_support::DeviceTest {
 protected:
  void TearDown() override { CloseHeldRootKey(); }

  static void SetRoot(const WCHAR* name, DWORD value) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    WriteDwordValue(key, name, value);
    RegCloseKey(key);
  }
  static void DeleteRoot() { ASSERT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY), ERROR_SUCCESS); }
};

TEST_F(HeldRootKey, ReadsEachWriteMadeAfterTheKeyWasOpened) {
  SetRoot(TimeSwitchName, 4);
  DWORD value = 0;
  ASSERT_TRUE(ReadHeldRootDword(TimeSwitchName, &value));
  EXPECT_EQ(value, 4u);
  SetRoot(TimeSwitchName, 5);
  SetRoot(DEFAULT_MODE_VALUE, 3);
  ASSERT_TRUE(ReadHeldRootDword(TimeSwitchName, &value));
  EXPECT_EQ(value, 5u);
  EXPECT_EQ(ReadHeldActiveMode(), 3u);
}

TEST_F(HeldRootKey, AKeyDeletedAndMadeAgainIsOpenedAfresh) {
  SetRoot(DEFAULT_MODE_VALUE, 2);
  EXPECT_EQ(ReadHeldActiveMode(), 2u);
  DeleteRoot();
  DWORD value = 77;
  EXPECT_FALSE(ReadHeldRootDword(TimeSwitchName, &value));
  EXPECT_EQ(value, 77u);
  EXPECT_EQ(ReadHeldActiveMode(), 0u);
  SetRoot(DEFAULT_MODE_VALUE, 4);
  EXPECT_EQ(ReadHeldActiveMode(), 4u);
}

TEST_F(HeldRootKey, AnswersAsTheStoreReadsDo) {
  SetRoot(DEFAULT_MODE_VALUE, 9);
  EXPECT_EQ(ReadHeldActiveMode(), ReadActiveMode());
  EXPECT_EQ(ReadHeldActiveMode(), 0u);
  HKEY key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &key), ERROR_SUCCESS);
  WriteTextValue(key, TimeSwitchName, TEXT("4"), 2);
  RegCloseKey(key);
  DWORD held = 11, fresh = 11;
  EXPECT_EQ(ReadHeldRootDword(TimeSwitchName, &held), ReadRootDword(TimeSwitchName, &fresh));
  EXPECT_EQ(held, 11u);
  EXPECT_EQ(fresh, 11u);
}

}  // namespace
