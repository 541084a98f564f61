// The first run of a program on a fresh store: the phone's events are read
// only then, and handed to the store's set-up.
#include "phone/first_run.h"

#include "phone/phone_notifications.h"
#include "store/factory_modes.h"

DWORD PrepareStoreOnFirstRun() {
  if (StoreIsPrepared()) return 0;
  NotificationTable phoneEvents = {};
  int eventCount = ReadPhoneNotifications(phoneEvents);
  return PrepareFreshStore(phoneEvents, eventCount);
}
