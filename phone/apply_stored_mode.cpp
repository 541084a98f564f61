// The mode is loaded by its key name and applied whole, notification
// events included, as both the settings program on Done and the Today item
// on a switch do it.
#include "phone/apply_stored_mode.h"

#include "phone/apply_mode.h"
#include "phone/phone_notifications.h"
#include "phone/radio_switch.h"
#include "store/mode_keys.h"
#include "store/mode_store.h"
#include "store/notification_table.h"
#include "store/root_values.h"
#include "store/switch_records.h"

int ApplyStoredMode(LPCWSTR keyName) {
  ModeRecord mode = LoadMode(keyName);
  ApplyMode(nullptr, mode);
  NotificationSetting table[NOTIFICATION_SLOTS] = {};
  LoadNotifications(keyName, table);
  ApplyPhoneNotifications(&mode, table);
  return 0;
}

void WaitForAppliedRadio() { WaitForRadioSwitches(APPLIED_RADIO_WAIT_MS); }

DWORD ModeToApply(DWORD fallback) {
  DWORD active = ReadActiveMode();
  return active ? active : fallback;
}

BOOL FinishInterruptedApply() {
  DWORD recorded = 0;
  if (!ReadModeApplyRecord(&recorded)) return FALSE;
  WCHAR keyName[MODE_KEY_NAME_SIZE];
  ModeKeyName(ModeToApply(recorded), keyName);
  ApplyStoredMode(keyName);
  WaitForAppliedRadio();
  return TRUE;
}
