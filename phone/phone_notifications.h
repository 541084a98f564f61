// The phone's notification events under HKEY_CURRENT_USER
// "\ControlPanel\Notifications": listed into a table, and written back
// from a mode's table when the mode is applied.
#pragma once

#include "store/notification_table.h"

// The phone's key of notification events: one subkey per event, its default
// value the display name, and "Options", "Duration" and "Wave".
inline constexpr WCHAR PHONE_NOTIFICATIONS_KEY[] = TEXT("\\ControlPanel\\Notifications");
inline constexpr WCHAR PHONE_EVENT_KEY_FORMAT[] = TEXT("\\ControlPanel\\Notifications\\%s");
// The incoming-call event, which a mode never takes over.
inline constexpr WCHAR PHONE_CALL_EVENT_KEY[] = TEXT("\\ControlPanel\\Notifications\\Phone");

// Lists the phone's events (the first 25 subkeys, but "Phone" and those
// without a display name) into consecutive slots, and returns how many.
int ReadPhoneNotifications(NotificationSetting* table);

// Writes each slot's values into the phone's event whose display name it
// bears exactly (the first such slot); other events keep theirs, and keys
// are never created. The context is ignored. Returns 0.
int ApplyPhoneNotifications(void* context, const NotificationSetting* table);
