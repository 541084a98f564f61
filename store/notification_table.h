// A mode's notification entries: how each of the phone's notification
// events is announced while the mode is active, as a table of 25 slots.
#pragma once

#include <windows.h>

#define NOTIFICATION_SLOTS 25
#define EVENT_NAME_WIDTH 100
#define WAVE_WIDTH 100

// "Options" is NOTIFY_OPTIONS_BASE plus the option bits.
#define NOTIFY_OPTIONS_BASE 0x40000000
#define NOTIFY_PLAY_SOUND 1
#define NOTIFY_VIBRATE 2
#define NOTIFY_FLASH 4
#define NOTIFY_DISPLAY 8
#define NOTIFY_REPEAT 16

struct NotificationSetting {
  WCHAR EventName[EVENT_NAME_WIDTH];  // the event's display name and subkey name; empty = free slot
  DWORD Options;
  DWORD Duration;  // the number shown beside "Flash for"
  WCHAR Wave[WAVE_WIDTH];
};

typedef NotificationSetting NotificationTable[NOTIFICATION_SLOTS];

// Fills the table from the mode's stored entries, slot i from subkey i in
// enumeration order, and returns the index of the last slot filled (0 when
// none). The table is emptied first, so no entry of an earlier mode is left
// behind to be saved under this one.
int LoadNotifications(LPCWSTR keyName, NotificationSetting* table);

// Writes every slot that has a name, creating its subkey when missing. Returns 0.
int SaveNotifications(LPCWSTR keyName, const NotificationSetting* table);

// Writes one entry, creating its subkey when missing. Returns 0.
int SaveNotification(LPCWSTR keyName, NotificationSetting entry);

// Gives mode "Mode 1" to "Mode 5" one entry per phone event of
// `phoneEvents` (`eventCount` slots, as the phone's notification list reads
// them) that it does not have yet, with the mode's factory options and the
// phone's sound; existing entries stay as they are. Returns 0.
int SeedNotifications(LPCWSTR keyName, const NotificationSetting* phoneEvents, int eventCount);

// TRUE when the mode has a "Notifications" key, with or without entries.
BOOL HasNotificationsKey(LPCWSTR keyName);

// Sets "Options" and "Duration" of the mode's first 25 entries to the
// mode's factory values, keeping each "Wave". Returns the index of the last
// entry updated (0 when none).
int ResetNotificationOptions(LPCWSTR keyName);
