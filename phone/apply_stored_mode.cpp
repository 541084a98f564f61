// The mode is loaded by its key name and applied whole, notification
// events included, as both the settings program on Done and the Today item
// on a switch do it.
#include "phone/apply_stored_mode.h"

#include "phone/apply_mode.h"
#include "phone/phone_notifications.h"
#include "store/mode_store.h"
#include "store/notification_table.h"

int ApplyStoredMode(LPCWSTR keyName) {
  ModeRecord mode = LoadMode(keyName);
  ApplyMode(nullptr, mode);
  NotificationSetting table[NOTIFICATION_SLOTS] = {};
  LoadNotifications(keyName, table);
  ApplyPhoneNotifications(&mode, table);
  return 0;
}
