// Copying notification settings between the phone's event keys and a
// mode's table of NotificationSetting entries.
#include "phone/phone_notifications.h"

#include "store/format_buffer.h"
#include "store/mode_store.h"
#include "store/registry_values.h"

// Event subkey names are enumerated with the registry's widest key name.
#define PHONE_EVENT_NAME_BUFFER 255

// Opens the phone's notification key (never created); null when missing.
static HKEY OpenPhoneNotifications() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, PHONE_NOTIFICATIONS_KEY, 0, 0, &key) != ERROR_SUCCESS) return nullptr;
  return key;
}

// Enumerates subkey `index` of the phone's key and builds its full path;
// false when there is no such subkey.
static bool PhoneEventPath(HKEY notifications, DWORD index, WCHAR* path) {
  WCHAR name[PHONE_EVENT_NAME_BUFFER + 1] = TEXT("");
  DWORD nameLength = PHONE_EVENT_NAME_BUFFER + 1;
  if (RegEnumKeyExW(notifications, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return false;
  wsprintfW(path, PHONE_EVENT_KEY_FORMAT, name);
  return true;
}

// Two event names are the same when they match exactly, case included;
// `slotName` is a fixed-width field that may lack its terminator, and then
// equals no terminated display name.
static bool SameEventName(const WCHAR* slotName, const WCHAR* displayName) {
  for (int i = 0; i < EVENT_NAME_WIDTH; ++i) {
    if (slotName[i] != displayName[i]) return false;
    if (!slotName[i]) return true;
  }
  return false;
}

int ReadPhoneNotifications(NotificationSetting* table) {
  HKEY notifications = OpenPhoneNotifications();
  if (!notifications) return 0;
  DWORD count = CountSubkeys(notifications);
  int stored = 0;
  for (DWORD i = 0; i < NOTIFICATION_SLOTS && i < count; ++i) {
    WCHAR path[WSPRINTF_BUFFER_SIZE];
    if (!PhoneEventPath(notifications, i, path)) continue;
    if (wcscmp(path, PHONE_CALL_EVENT_KEY) == 0) continue;
    HKEY event = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &event) != ERROR_SUCCESS) continue;
    NotificationSetting& slot = table[stored];
    slot.EventName[0] = TEXT('\0');
    ReadTextValue(event, nullptr, slot.EventName, EVENT_NAME_WIDTH);
    if (slot.EventName[0]) {
      ReadDwordValue(event, NOTIFICATION_OPTIONS_VALUE, &slot.Options);
      ReadDwordValue(event, NOTIFICATION_DURATION_VALUE, &slot.Duration);
      ReadTextValue(event, NOTIFICATION_WAVE_VALUE, slot.Wave, WAVE_WIDTH);
      ++stored;
    }
    RegCloseKey(event);
  }
  RegCloseKey(notifications);
  return stored;
}

int ApplyPhoneNotifications(void*, const NotificationSetting* table) {
  HKEY notifications = OpenPhoneNotifications();
  if (!notifications) return 0;
  DWORD count = CountSubkeys(notifications);
  for (DWORD i = 0; i < NOTIFICATION_SLOTS && i < count; ++i) {
    WCHAR path[WSPRINTF_BUFFER_SIZE];
    if (!PhoneEventPath(notifications, i, path)) continue;
    // The phone's registry does not enforce the access asked for; the
    // event is written through this key all the same.
    HKEY event = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &event) != ERROR_SUCCESS) continue;
    WCHAR displayName[EVENT_NAME_WIDTH] = TEXT("");
    ReadTextValue(event, nullptr, displayName, EVENT_NAME_WIDTH);
    for (int slot = 0; displayName[0] && slot < NOTIFICATION_SLOTS; ++slot) {
      if (!SameEventName(table[slot].EventName, displayName)) continue;
      WriteDwordValue(event, NOTIFICATION_OPTIONS_VALUE, table[slot].Options);
      WriteDwordValue(event, NOTIFICATION_DURATION_VALUE, table[slot].Duration);
      WriteTextValue(event, NOTIFICATION_WAVE_VALUE, table[slot].Wave, WAVE_WIDTH);
      break;
    }
    RegCloseKey(event);
  }
  RegCloseKey(notifications);
  return 0;
}
