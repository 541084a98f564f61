// The first-run set-up and the factory modes, checked on the whole store.
#include <strsafe.h>

#include "phone/first_run.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "phone/phone_notifications.h"
#include "platform/testing/device_fixture.h"
#include "platform/testing/registry_values.h"
#include "store/factory_modes.h"
#include "store/mode_store.h"
#include "store/notification_table.h"

namespace {

// Every key and value below a key, as "path|name" -> type and data.
using Snapshot = std::map<std::u16string, std::string>;

void TakeSnapshot(HKEY key, const std::u16string& path, Snapshot* snapshot) {
  for (DWORD i = 0;; ++i) {
    WCHAR name[256];
    DWORD nameLength = 256, type = 0, size = 0;
    BYTE data[1024];
    size = sizeof data;
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
    (*snapshot)[path + u"|" + name] = std::to_string(type) + ":" + std::string(reinterpret_cast<char*>(data), size);
  }
  for (DWORD i = 0;; ++i) {
    WCHAR name[256];
    DWORD nameLength = 256;
    if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    (*snapshot)[path + u"\\" + name] = "key";
    HKEY child;
    if (RegOpenKeyExW(key, name, 0, 0, &child) != ERROR_SUCCESS) continue;
    TakeSnapshot(child, path + u"\\" + name, snapshot);
    RegCloseKey(child);
  }
}

Snapshot StoreSnapshot() {
  Snapshot snapshot;
  HKEY root;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &root) != ERROR_SUCCESS) return snapshot;
  TakeSnapshot(root, u"", &snapshot);
  RegCloseKey(root);
  return snapshot;
}

DWORD RootInit() { return testing_support::GetDword(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, INIT_VALUE).value_or(0); }

int PhoneEventCount() {
  NotificationTable table{};
  return ReadPhoneNotifications(table);
}

class FactoryModesTest : public testing_support::DeviceTest {};

}  // namespace

TEST_F(FactoryModesTest, FirstRunBuildsExactlyTheFiveFactoryModes) {
  // Leftovers of an earlier installation are cleared away.
  ModeRecord stale = LoadMode(u"Mode 0");
  SaveMode(u"Mode 0", stale);
  WriteModeName(u"Mode 2", u"Stale");
  NotificationSetting extra{};
  std::u16string extraName = u"Stale event";
  std::copy(extraName.begin(), extraName.end(), extra.EventName);
  SaveNotification(u"Mode 2", extra);

  EXPECT_EQ(PrepareStoreOnFirstRun(), 4u);
  EXPECT_EQ(RootInit(), 1u);

  Snapshot store = StoreSnapshot();
  std::vector<std::u16string> topKeys;
  for (const auto& [path, what] : store)
    if (what == "key" && path.find(u'\\', 1) == std::u16string::npos) topKeys.push_back(path);
  std::vector<std::u16string> expected = {u"\\Mode 1", u"\\Mode 2", u"\\Mode 3", u"\\Mode 4", u"\\Mode 5"};
  EXPECT_EQ(topKeys, expected);

  const std::u16string names[] = {u"Car", u"Night", u"Office", u"Home", u"Car"};
  const DWORD options[] = {0x40000004, 0x40000004, 0x40000005, 0x4000000D, 0x4000000D};
  int events = PhoneEventCount();
  ASSERT_GT(events, 10);
  for (int n = 1; n <= 5; ++n) {
    std::u16string key = u"Mode " + std::u16string(1, u'0' + n);
    size_t values = 0;
    for (const auto& [path, what] : store)
      if (path.starts_with(u"\\" + key + u"|")) ++values;
    // The thirty values of the record and the three caller rules.
    EXPECT_EQ(values, 33u) << n;
    ModeRecord mode = LoadMode(key.c_str());
    EXPECT_EQ(std::u16string(mode.ModeName), names[n - 1]);
    EXPECT_EQ(mode.Days, 0u);
    EXPECT_EQ(mode.Status, 4u);
    EXPECT_EQ(std::u16string(mode.Category), u"N/A");
    EXPECT_EQ(mode.BatteryTimeout, 180u);
    EXPECT_EQ(mode.BatteryTimeoutUnchecked, 0u);

    NotificationTable table;
    LoadNotifications(key.c_str(), table);
    int entries = 0;
    for (const auto& slot : table) {
      if (!slot.EventName[0]) continue;
      ++entries;
      EXPECT_EQ(slot.Options, options[n - 1]);
      EXPECT_EQ(slot.Duration, 10u);
      EXPECT_NE(std::u16string(slot.EventName), u"Stale event");
    }
    EXPECT_EQ(entries, events) << n;
  }
  ModeRecord car = LoadMode(u"Mode 5");
  EXPECT_EQ(car.BTState, 2u);
  EXPECT_EQ(car.HeadsetState, 1u);
  EXPECT_EQ(std::u16string(LoadMode(u"Mode 3").RingMode), u"v3w3v3w3apw3r");
  EXPECT_EQ(LoadMode(u"Mode 1").PhoneVolume, 0u);
}

TEST_F(FactoryModesTest, PreparedStoreIsLeftAlone) {
  PrepareStoreOnFirstRun();
  WriteModeName(u"Mode 2", u"Sleep");
  Snapshot before = StoreSnapshot();
  EXPECT_EQ(PrepareStoreOnFirstRun(), 0u);
  EXPECT_EQ(StoreSnapshot(), before);
}

TEST_F(FactoryModesTest, OnlyTheFiveModeKeysHaveFactoryValues) {
  Snapshot before = StoreSnapshot();
  for (const char16_t* key : {u"Mode 0", u"mode 1", u"Mode 6", u"Mode 1 "}) EXPECT_EQ(WriteFactoryMode(key), 0);
  EXPECT_EQ(StoreSnapshot(), before);
}

TEST_F(FactoryModesTest, ResetRestoresTheFactoryModeAndKeepsEachSound) {
  PrepareStoreOnFirstRun();
  ModeRecord home = LoadMode(u"Mode 4");
  StringCchCopyW(home.ModeName, MODE_NAME_WIDTH, u"Weekend");
  home.Days = 0x1111111;
  SaveMode(u"Mode 4", home);
  NotificationTable table;
  LoadNotifications(u"Mode 4", table);
  table[0].Options = 0x40000002;
  StringCchCopyW(table[0].Wave, WAVE_WIDTH, u"chimes");
  SaveNotifications(u"Mode 4", table);

  ResetNotificationOptions(u"Mode 4");
  WriteFactoryMode(u"Mode 4");
  home = LoadMode(u"Mode 4");
  EXPECT_EQ(std::u16string(home.ModeName), u"Home");
  EXPECT_EQ(home.Days, 0u);
  LoadNotifications(u"Mode 4", table);
  EXPECT_EQ(table[0].Options, 0x4000000Du);
  EXPECT_EQ(std::u16string(table[0].Wave), u"chimes");
}
