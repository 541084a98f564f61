// A mode's notification entries in the store: one subkey per event under
// the mode key's "Notifications" key, loaded into and saved from a table.
#include <strsafe.h>
#include <cstring>

#include "store/format_buffer.h"
#include "store/mode_store.h"
#include "store/notification_table.h"
#include "store/record_save.h"
#include "store/registry_values.h"

// Subkey names are read into a buffer as wide as an entry's name.
#define ENTRY_NAME_BUFFER EVENT_NAME_WIDTH
// The reset enumerates with the registry's widest key name.
#define RESET_NAME_BUFFER 255

// The factory notification values of the five modes.
struct FactoryNotification {
  const WCHAR* keyName;
  DWORD options;
  DWORD duration;
};

static const FactoryNotification FACTORY_NOTIFICATIONS[] = {
    {TEXT("Mode 1"), NOTIFY_OPTIONS_BASE | NOTIFY_FLASH, 10},
    {TEXT("Mode 2"), NOTIFY_OPTIONS_BASE | NOTIFY_FLASH, 10},
    {TEXT("Mode 3"), NOTIFY_OPTIONS_BASE | NOTIFY_FLASH | NOTIFY_PLAY_SOUND, 10},
    {TEXT("Mode 4"), NOTIFY_OPTIONS_BASE | NOTIFY_DISPLAY | NOTIFY_FLASH | NOTIFY_PLAY_SOUND, 10},
    {TEXT("Mode 5"), NOTIFY_OPTIONS_BASE | NOTIFY_DISPLAY | NOTIFY_FLASH | NOTIFY_PLAY_SOUND, 10},
};

// The factory values of `keyName` when it is "Mode 1" to "Mode 5" (whole
// text, case as written); null for any other key name.
static const FactoryNotification* FindFactoryNotification(LPCWSTR keyName) {
  for (const FactoryNotification& factory : FACTORY_NOTIFICATIONS)
    if (wcscmp(keyName, factory.keyName) == 0) return &factory;
  return nullptr;
}

// Opens the mode's "Notifications" key; null when it does not exist.
static HKEY OpenNotificationsKey(LPCWSTR keyName) {
  WCHAR path[WSPRINTF_BUFFER_SIZE];
  wsprintfW(path, NOTIFICATIONS_KEY_FORMAT, keyName);
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &key) != ERROR_SUCCESS) return nullptr;
  return key;
}

// Opens one entry's subkey with `access`; null when it does not exist.
static HKEY OpenEntryKey(LPCWSTR keyName, LPCWSTR eventName, REGSAM access) {
  WCHAR path[WSPRINTF_BUFFER_SIZE];
  wsprintfW(path, NOTIFICATION_KEY_FORMAT, keyName, eventName);
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, access, &key) != ERROR_SUCCESS) return nullptr;
  return key;
}

// Opens one entry's subkey, creating it when missing; null when neither works.
static HKEY OpenOrCreateEntryKey(LPCWSTR keyName, LPCWSTR eventName, REGSAM openAccess) {
  HKEY key = OpenEntryKey(keyName, eventName, openAccess);
  if (key) return key;
  WCHAR path[WSPRINTF_BUFFER_SIZE];
  wsprintfW(path, NOTIFICATION_KEY_FORMAT, keyName, eventName);
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

// Writes one entry's three values into its subkey.
static void WriteEntry(LPCWSTR keyName, const NotificationSetting& entry) {
  WCHAR eventName[EVENT_NAME_WIDTH + 1];
  CopyField(eventName, entry.EventName, EVENT_NAME_WIDTH);
  if (!eventName[0]) return;
  HKEY key = OpenOrCreateEntryKey(RecordWriteKeyName(keyName), eventName, 0);
  if (!key) return;
  WriteDwordValue(key, NOTIFICATION_OPTIONS_VALUE, entry.Options);
  WriteDwordValue(key, NOTIFICATION_DURATION_VALUE, entry.Duration);
  WriteTextValue(key, NOTIFICATION_WAVE_VALUE, entry.Wave, WAVE_WIDTH);
  RegCloseKey(key);
}

int LoadNotifications(LPCWSTR keyName, NotificationSetting* table) {
  std::memset(table, 0, sizeof(NotificationSetting) * NOTIFICATION_SLOTS);
  HKEY notifications = OpenNotificationsKey(keyName);
  if (!notifications) return 0;
  DWORD count = CountSubkeys(notifications);
  int result = 0;
  for (DWORD i = 0; i < NOTIFICATION_SLOTS && i < count; ++i) {
    WCHAR name[ENTRY_NAME_BUFFER] = TEXT("");
    DWORD nameLength = ENTRY_NAME_BUFFER;
    if (RegEnumKeyExW(notifications, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      continue;
    NotificationSetting& slot = table[i];
    StringCchCopyW(slot.EventName, EVENT_NAME_WIDTH, name);
    HKEY entry = OpenEntryKey(keyName, name, KEY_READ);
    if (!entry) continue;
    ReadDwordValue(entry, NOTIFICATION_OPTIONS_VALUE, &slot.Options);
    ReadDwordValue(entry, NOTIFICATION_DURATION_VALUE, &slot.Duration);
    ReadTextValue(entry, NOTIFICATION_WAVE_VALUE, slot.Wave, WAVE_WIDTH);
    RegCloseKey(entry);
    result = static_cast<int>(i);
  }
  RegCloseKey(notifications);
  return result;
}

int SaveNotifications(LPCWSTR keyName, const NotificationSetting* table) {
  for (int i = 0; i < NOTIFICATION_SLOTS; ++i) WriteEntry(keyName, table[i]);
  return 0;
}

int SaveNotification(LPCWSTR keyName, NotificationSetting entry) {
  WriteEntry(keyName, entry);
  return 0;
}

BOOL HasNotificationsKey(LPCWSTR keyName) {
  HKEY notifications = OpenNotificationsKey(keyName);
  if (!notifications) return FALSE;
  RegCloseKey(notifications);
  return TRUE;
}

int SeedNotifications(LPCWSTR keyName, const NotificationSetting* phoneEvents, int eventCount) {
  WCHAR path[WSPRINTF_BUFFER_SIZE];
  wsprintfW(path, NOTIFICATIONS_KEY_FORMAT, keyName);
  HKEY notifications = OpenNotificationsKey(keyName);
  if (notifications || RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr, &notifications,
                                       nullptr) == ERROR_SUCCESS)
    RegCloseKey(notifications);

  const FactoryNotification* factory = FindFactoryNotification(keyName);
  if (!factory) return 0;
  for (int i = 0; i < eventCount; ++i) {
    const NotificationSetting& event = phoneEvents[i];
    if (!event.EventName[0]) continue;
    WCHAR entryPath[WSPRINTF_BUFFER_SIZE];
    wsprintfW(entryPath, NOTIFICATION_KEY_FORMAT, keyName, event.EventName);
    HKEY entry = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, entryPath, 0, nullptr, 0, KEY_WRITE, nullptr, &entry, &disposition) !=
        ERROR_SUCCESS)
      continue;
    if (disposition == REG_OPENED_EXISTING_KEY) {
      RegCloseKey(entry);  // the mode has this entry already: keep it
      continue;
    }
    WriteDwordValue(entry, NOTIFICATION_OPTIONS_VALUE, factory->options);
    WriteDwordValue(entry, NOTIFICATION_DURATION_VALUE, factory->duration);
    WriteTextValue(entry, NOTIFICATION_WAVE_VALUE, event.Wave, WAVE_WIDTH);
    RegCloseKey(entry);
  }
  return 0;
}

int ResetNotificationOptions(LPCWSTR keyName) {
  const FactoryNotification* factory = FindFactoryNotification(keyName);
  if (!factory) return 0;
  HKEY notifications = OpenNotificationsKey(keyName);
  if (!notifications) return 0;
  DWORD count = CountSubkeys(notifications);
  int result = 0;
  for (DWORD i = 0; i < NOTIFICATION_SLOTS && i < count; ++i) {
    WCHAR name[RESET_NAME_BUFFER + 1] = TEXT("");
    DWORD nameLength = RESET_NAME_BUFFER + 1;
    if (RegEnumKeyExW(notifications, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      continue;
    HKEY entry = OpenEntryKey(keyName, name, KEY_READ);
    if (entry)
      result = static_cast<int>(i);
    else
      entry = OpenOrCreateEntryKey(keyName, name, KEY_READ);
    if (!entry) continue;
    WriteDwordValue(entry, NOTIFICATION_OPTIONS_VALUE, factory->options);
    WriteDwordValue(entry, NOTIFICATION_DURATION_VALUE, factory->duration);
    RegCloseKey(entry);
  }
  RegCloseKey(notifications);
  return result;
}
