// A mode's notification entries: loading, saving and resetting to the
// mode's factory options.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/testing/device_fixture.h"
#include "platform/testing/registry_values.h"
#include "store/notification_table.h"

namespace {

const char16_t kMode3Notifications[] = u"\\Software\\Microsoft\\Today\\Items\\Selvane\\Mode 3\\Notifications";

NotificationSetting Entry(const std::u16string& name, DWORD options, DWORD duration, const std::u16string& wave) {
  NotificationSetting entry;
  std::memset(&entry, 0, sizeof entry);
  std::copy(name.begin(), name.end(), entry.EventName);
  entry.Options = options;
  entry.Duration = duration;
  std::copy(wave.begin(), wave.end(), entry.Wave);
  return entry;
}

class NotificationsTest : public testing_support::DeviceTest {
 protected:
  // Reads one value of an entry's subkey under HKEY_LOCAL_MACHINE.
  DWORD EntryDword(const std::u16string& path, const char16_t* name) {
    return testing_support::GetDword(HKEY_LOCAL_MACHINE, path, name).value_or(0xDEAD);
  }
  DWORD SubkeyCount(const char16_t* path) { return testing_support::SubkeyCount(HKEY_LOCAL_MACHINE, path); }
  void SaveNumbered(LPCWSTR mode, int count) {
    for (int i = 0; i < count; ++i) {
      std::u16string name = u"Event ";
      name += static_cast<char16_t>(u'0' + i / 10);
      name += static_cast<char16_t>(u'0' + i % 10);
      SaveNotification(mode, Entry(name, 0x40000001, static_cast<DWORD>(i), u"notify"));
    }
  }
};

}  // namespace

TEST_F(NotificationsTest, SavedEntriesLoadBackInEnumerationOrderIntoAnEmptiedTable) {
  NotificationTable saved;
  std::memset(saved, 0, sizeof saved);
  saved[0] = Entry(u"Reminders", 0x4000000D, 10, u"alarm1");
  saved[3] = Entry(u"Alarms", 0x40000011, 5, u"");
  std::u16string longWave(80, u'w');  // longer than the 49 characters of a 100-byte read
  saved[7] = Entry(u"Messaging: New text message", 0x40000002, 0, longWave);
  EXPECT_EQ(SaveNotifications(u"Mode 3", saved), 0);

  NotificationTable loaded;
  for (auto& slot : loaded) slot = Entry(u"Left over", 1, 2, u"old");
  EXPECT_EQ(LoadNotifications(u"Mode 3", loaded), 2);
  EXPECT_EQ(std::u16string(loaded[0].EventName), u"Alarms");
  EXPECT_EQ(loaded[0].Options, 0x40000011u);
  EXPECT_EQ(std::u16string(loaded[0].Wave), u"");
  EXPECT_EQ(std::u16string(loaded[1].EventName), u"Messaging: New text message");
  EXPECT_EQ(std::u16string(loaded[1].Wave), longWave);
  EXPECT_EQ(std::u16string(loaded[2].EventName), u"Reminders");
  EXPECT_EQ(loaded[2].Duration, 10u);
  for (int i = 3; i < NOTIFICATION_SLOTS; ++i) EXPECT_EQ(loaded[i].EventName[0], 0) << i;

  // A mode without entries loads as an empty table.
  EXPECT_EQ(LoadNotifications(u"Mode 2", loaded), 0);
  EXPECT_EQ(loaded[0].EventName[0], 0);
}

TEST_F(NotificationsTest, SavingAnEntryByAnotherCaseReplacesTheSameSubkey) {
  SaveNotification(u"Mode 3", Entry(u"Reminders", 0x40000001, 1, u"alarm1"));
  SaveNotification(u"Mode 3", Entry(u"REMINDERS", 0x40000008, 7, u"alarm2"));
  EXPECT_EQ(SubkeyCount(kMode3Notifications), 1u);
  NotificationTable loaded;
  LoadNotifications(u"Mode 3", loaded);
  EXPECT_EQ(std::u16string(loaded[0].EventName), u"Reminders");
  EXPECT_EQ(loaded[0].Options, 0x40000008u);
  EXPECT_EQ(std::u16string(loaded[0].Wave), u"alarm2");

  // A name that fills its field without a terminator is saved bounded.
  NotificationSetting unterminated = Entry(u"", 0x40000001, 1, u"x");
  std::fill(std::begin(unterminated.EventName), std::end(unterminated.EventName), u'n');
  std::fill(std::begin(unterminated.Wave), std::end(unterminated.Wave), u'w');
  SaveNotification(u"Mode 3", unterminated);
  EXPECT_EQ(EntryDword(std::u16string(kMode3Notifications) + u"\\" + std::u16string(100, u'n'), u"Options"),
            0x40000001u);
}

TEST_F(NotificationsTest, OnlyTheFirstTwentyFiveEntriesAreLoadedOrReset) {
  SaveNumbered(u"Mode 3", 30);
  NotificationTable loaded;
  EXPECT_EQ(LoadNotifications(u"Mode 3", loaded), 24);
  EXPECT_EQ(std::u16string(loaded[24].EventName), u"Event 24");
  EXPECT_EQ(ResetNotificationOptions(u"Mode 3"), 24);
  std::u16string prefix = std::u16string(kMode3Notifications) + u"\\Event ";
  EXPECT_EQ(EntryDword(prefix + u"24", u"Options"), 0x40000005u);
  EXPECT_EQ(EntryDword(prefix + u"24", u"Duration"), 10u);
  EXPECT_EQ(EntryDword(prefix + u"25", u"Options"), 0x40000001u);
  EXPECT_EQ(EntryDword(prefix + u"25", u"Duration"), 25u);
}

TEST_F(NotificationsTest, ResetSetsTheModesFactoryOptionsAndKeepsSounds) {
  SaveNotification(u"Mode 4", Entry(u"Alarms", 0x40000002, 3, u"alarm2"));
  SaveNotification(u"Mode 4", Entry(u"Reminders", 0x40000000, 0, u"alarm1"));
  EXPECT_EQ(ResetNotificationOptions(u"Mode 4"), 1);
  NotificationTable loaded;
  LoadNotifications(u"Mode 4", loaded);
  EXPECT_EQ(loaded[0].Options, 0x4000000Du);
  EXPECT_EQ(loaded[0].Duration, 10u);
  EXPECT_EQ(std::u16string(loaded[0].Wave), u"alarm2");
  EXPECT_EQ(std::u16string(loaded[1].Wave), u"alarm1");

  // Only the five user modes, spelt exactly, have factory options.
  SaveNotification(u"Mode 0", Entry(u"Alarms", 0x40000002, 3, u"alarm2"));
  SaveNotification(u"mode 4", Entry(u"Alarms", 0x40000002, 3, u"alarm2"));
  EXPECT_EQ(ResetNotificationOptions(u"Mode 0"), 0);
  EXPECT_EQ(ResetNotificationOptions(u"mode 4"), 0);
  EXPECT_EQ(EntryDword(u"\\Software\\Microsoft\\Today\\Items\\Selvane\\Mode 0\\Notifications\\Alarms", u"Options"),
            0x40000002u);
  EXPECT_EQ(ResetNotificationOptions(u"Mode 5"), 0);  // no entries at all
}
