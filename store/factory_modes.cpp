// The factory modes: their values, writing one of them, and the first-run
// set-up of the store.
#include "store/factory_modes.h"

#include <cstring>

#include "store/caller_rules.h"
#include "store/mode_keys.h"
#include "store/mode_store.h"
#include "store/mode_table.h"
#include "store/notification_table.h"
#include "store/registry_values.h"

int WriteFactoryMode(LPCWSTR keyName) {
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    WCHAR factoryKey[MODE_KEY_NAME_SIZE];
    ModeKeyName(mode, factoryKey);
    if (wcscmp(keyName, factoryKey) != 0) continue;
    SaveMode(keyName, FactoryRecord(mode));
    CallerRules rules = FactoryCallerRules(mode);
    SaveCallerRules(keyName, &rules);
    return 0;
  }
  return 0;
}

// "Init" is read whatever its stored type, so that an odd value never
// passes for a fresh store and has the user's modes rebuilt.
BOOL StoreIsPrepared() {
  DWORD init = 0;
  HKEY root = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &root) != ERROR_SUCCESS) return FALSE;
  ReadDwordValue(root, INIT_VALUE, &init);
  RegCloseKey(root);
  return init != 0;
}

DWORD PrepareFreshStore(const NotificationSetting* phoneEvents, int eventCount) {
  // "Mode 0" goes too: it is no user's mode, only what the dialog left when
  // it opened without an active mode.
  HKEY root = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &root) == ERROR_SUCCESS) {
    for (DWORD mode = 0; mode <= LAST_MODE; ++mode) {
      WCHAR keyName[MODE_KEY_NAME_SIZE];
      ModeKeyName(mode, keyName);
      RegDeleteKeyW(root, keyName);
    }
    RegCloseKey(root);
  }
  // Each value is written once. Saving the factory mode writes all of its
  // values, so the defaults that loading a missing mode would store first
  // are left out. An entry that seeding adds already holds its mode's
  // factory options, so only a mode whose "Notifications" key outlived the
  // deletion above (a deletion that failed) has its entries reset.
  BOOL keptEntries[LAST_MODE + 1];
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    WCHAR keyName[MODE_KEY_NAME_SIZE];
    ModeKeyName(mode, keyName);
    keptEntries[mode] = HasNotificationsKey(keyName);
    SeedNotifications(keyName, phoneEvents, eventCount);
  }
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    WCHAR keyName[MODE_KEY_NAME_SIZE];
    ModeKeyName(mode, keyName);
    WriteFactoryMode(keyName);
    if (keptEntries[mode]) ResetNotificationOptions(keyName);
  }

  // The store is prepared only once all five modes are in place, so a set-up
  // cut short runs again in full at the next start.
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &root) == ERROR_SUCCESS) {
    WriteDwordValue(root, INIT_VALUE, 1);
    RegCloseKey(root);
  }
  return FIRST_RUN_ACTIVE_MODE;
}
