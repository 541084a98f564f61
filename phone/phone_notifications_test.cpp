// Reading the phone's notification events into a table, writing a mode's
// table back into them, and seeding a mode's entries from them.
#include "phone/phone_notifications.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/testing/device_fixture.h"
#include "platform/testing/registry_values.h"
#include "store/notification_table.h"

namespace {

using testing_support::SubkeyCount;

class PhoneNotificationsTest : public testing_support::DeviceTest {
 protected:
  // Makes an event key; a null display name leaves the default value out.
  void SetEvent(const std::u16string& key, const char16_t* displayName, DWORD options, const std::u16string& wave) {
    std::u16string path = u"\\ControlPanel\\Notifications\\" + key;
    HKEY event;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &event, nullptr),
              ERROR_SUCCESS);
    if (displayName) SetText(event, nullptr, displayName);
    RegSetValueExW(event, u"Options", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&options), 4);
    SetText(event, u"Wave", wave);
    RegCloseKey(event);
  }
  void SetText(HKEY key, const char16_t* name, const std::u16string& text) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * 2));
  }
  DWORD EventOptions(const std::u16string& key) {
    std::u16string path = u"\\ControlPanel\\Notifications\\" + key;
    HKEY event;
    DWORD value = 0, size = 4;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, 0, &event) != ERROR_SUCCESS) return 0xDEAD;
    RegQueryValueExW(event, u"Options", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(event);
    return value;
  }
  std::u16string EventWave(const std::u16string& key, DWORD* bytes) {
    std::u16string path = u"\\ControlPanel\\Notifications\\" + key;
    HKEY event;
    WCHAR wave[200] = u"";
    *bytes = sizeof wave;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, 0, &event) != ERROR_SUCCESS) return u"?";
    RegQueryValueExW(event, u"Wave", nullptr, nullptr, reinterpret_cast<BYTE*>(wave), bytes);
    RegCloseKey(event);
    return wave;
  }
  void ClearPhoneEvents() { RegDeleteKeyW(HKEY_CURRENT_USER, u"\\ControlPanel\\Notifications"); }
};

NotificationSetting Slot(const std::u16string& name, DWORD options, const std::u16string& wave) {
  NotificationSetting slot;
  std::memset(&slot, 0, sizeof slot);
  std::copy(name.begin(), name.end(), slot.EventName);
  slot.Options = options;
  slot.Duration = 3;
  std::copy(wave.begin(), wave.end(), slot.Wave);
  return slot;
}

// Seeds a mode from the phone's own event list, as the first run does.
int SeedFromPhone(LPCWSTR keyName) {
  NotificationTable events;
  std::memset(events, 0, sizeof events);
  return SeedNotifications(keyName, events, ReadPhoneNotifications(events));
}

}  // namespace

TEST_F(PhoneNotificationsTest, ReadingListsNamedEventsButTheIncomingCall) {
  ClearPhoneEvents();
  SetEvent(u"Alarms", u"Alarms", 0x40000011, u"alarm2");
  SetEvent(u"Phone", u"Phone: Incoming call", 0x40000001, u"ring");
  SetEvent(u"Unnamed", nullptr, 0x40000004, u"notify");
  std::u16string longName(70, u'L');  // longer than the 49 characters of a 100-byte read
  SetEvent(u"Long", longName.c_str(), 0x40000008, u"beam");
  SetEvent(u"Reminders", u"Reminders", 0x4000000D, u"alarm1");

  NotificationTable table;
  std::memset(table, 0, sizeof table);
  ASSERT_EQ(ReadPhoneNotifications(table), 3);
  EXPECT_EQ(std::u16string(table[0].EventName), u"Alarms");
  EXPECT_EQ(table[0].Options, 0x40000011u);
  EXPECT_EQ(std::u16string(table[1].EventName), longName);
  EXPECT_EQ(std::u16string(table[1].Wave), u"beam");
  EXPECT_EQ(std::u16string(table[2].EventName), u"Reminders");
  EXPECT_EQ(table[3].EventName[0], 0);
}

TEST_F(PhoneNotificationsTest, OnlyTheFirstTwentyFiveEventKeysAreLookedAt) {
  ClearPhoneEvents();
  for (int i = 0; i < 30; ++i) {
    std::u16string name = u"Event ";
    name += static_cast<char16_t>(u'0' + i / 10);
    name += static_cast<char16_t>(u'0' + i % 10);
    SetEvent(name, name.c_str(), 0x40000000, u"notify");
  }
  NotificationTable table;
  std::memset(table, 0, sizeof table);
  EXPECT_EQ(ReadPhoneNotifications(table), 25);
  for (auto& slot : table) slot.Options = 0x40000010;
  ApplyPhoneNotifications(nullptr, table);
  EXPECT_EQ(EventOptions(u"Event 24"), 0x40000010u);
  EXPECT_EQ(EventOptions(u"Event 25"), 0x40000000u);
}

TEST_F(PhoneNotificationsTest, ApplyingWritesMatchingEventsAndNothingElse) {
  ClearPhoneEvents();
  SetEvent(u"Alarms", u"Alarms", 0x40000011, u"alarm2");
  SetEvent(u"Phone", u"Phone: Incoming call", 0x40000001, u"ring");
  SetEvent(u"Unnamed", nullptr, 0x40000004, u"notify");
  SetEvent(u"Reminders", u"Reminders", 0x4000000D, u"alarm1");

  NotificationTable table;
  std::memset(table, 0, sizeof table);
  table[0] = Slot(u"reminders", 0x40000002, u"wrong case");
  table[1] = Slot(u"Alarms", 0x40000004, u"");
  table[2] = Slot(u"Alarms", 0x40000008, u"second");
  table[3] = Slot(u"Phone: Incoming call", 0x40000005, u"ring2");
  table[4] = Slot(u"Gone", 0x40000005, u"x");
  EXPECT_EQ(ApplyPhoneNotifications(nullptr, table), 0);

  DWORD bytes = 0;
  EXPECT_EQ(EventOptions(u"Alarms"), 0x40000004u);
  EXPECT_EQ(EventWave(u"Alarms", &bytes), u"");
  EXPECT_EQ(bytes, 2u);
  EXPECT_EQ(EventOptions(u"Phone"), 0x40000005u);
  EXPECT_EQ(EventOptions(u"Reminders"), 0x4000000Du);
  EXPECT_EQ(EventOptions(u"Unnamed"), 0x40000004u);
  EXPECT_EQ(EventOptions(u"Gone"), 0xDEADu);  // never created

  ClearPhoneEvents();
  EXPECT_EQ(ApplyPhoneNotifications(nullptr, table), 0);
  EXPECT_EQ(ReadPhoneNotifications(table), 0);
}

// The first run seeds each mode from the phone's own event list.
TEST_F(PhoneNotificationsTest, SeedingAddsOnlyMissingPhoneEventsWithTheirSounds) {
  NotificationSetting mine = Slot(u"Alarms", 0x40000010, u"mine");
  mine.Duration = 99;
  SaveNotification(u"Mode 1", mine);
  EXPECT_EQ(SeedFromPhone(u"Mode 1"), 0);
  NotificationTable loaded;
  int last = LoadNotifications(u"Mode 1", loaded);
  int named = 0;
  for (int i = 0; i <= last; ++i) {
    std::u16string name = loaded[i].EventName;
    if (name.empty()) continue;
    ++named;
    EXPECT_NE(name, u"Phone: Incoming call");
    if (name == u"Alarms") {
      EXPECT_EQ(loaded[i].Options, 0x40000010u);  // the user's entry is kept
      EXPECT_EQ(std::u16string(loaded[i].Wave), u"mine");
    } else {
      EXPECT_EQ(loaded[i].Options, 0x40000004u) << std::string(name.begin(), name.end());
      EXPECT_EQ(loaded[i].Duration, 10u);
    }
    if (name == u"Reminders") {
      EXPECT_EQ(std::u16string(loaded[i].Wave), u"alarm1");
    }
  }
  EXPECT_GE(named, 15);

  DWORD before = SubkeyCount(HKEY_LOCAL_MACHINE, u"\\Software\\Microsoft\\Today\\Items\\Selvane\\Mode 1\\Notifications");
  SeedFromPhone(u"Mode 1");
  EXPECT_EQ(SubkeyCount(HKEY_LOCAL_MACHINE, u"\\Software\\Microsoft\\Today\\Items\\Selvane\\Mode 1\\Notifications"), before);

  // Another key name gets an empty "Notifications" key and nothing more.
  SeedFromPhone(u"Mode 0");
  HKEY key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"\\Software\\Microsoft\\Today\\Items\\Selvane\\Mode 0\\Notifications",
                          0, 0, &key),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(SubkeyCount(HKEY_LOCAL_MACHINE, u"\\Software\\Microsoft\\Today\\Items\\Selvane\\Mode 0\\Notifications"), 0u);
}
