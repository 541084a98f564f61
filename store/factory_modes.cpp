// The factory modes: their values, writing one of them, and the first-run
// set-up of the store.
#include "store/factory_modes.h"

#include <cstring>

#include "store/mode_store.h"
#include "store/notification_table.h"
#include "store/registry_values.h"

// What sets the five factory modes apart; everything else is common to them.
struct FactoryMode {
  const WCHAR* keyName;
  const WCHAR* modeName;
  DWORD systemVolume;
  DWORD phoneVolume;
  DWORD speakerVolume;
  const WCHAR* ringMode;
  DWORD radioState;
  DWORD btState;
  DWORD headsetState;
  DWORD brightNess;
};

static const FactoryMode FACTORY_MODES[] = {
    {u"Mode 1", u"Car", 3, 0, 4, u"af1w60f0", 0, 0, 0, 8},
    {u"Mode 2", u"Night", 3, 3, 4, u"av0pw3r", 1, 0, 0, 7},
    {u"Mode 3", u"Office", 3, 3, 4, u"v3w3v3w3apw3r", 1, 0, 0, 8},
    {u"Mode 4", u"Home", 5, 5, 4, u"av0pw3r", 1, 0, 0, 8},
    {u"Mode 5", u"Car", 5, 5, 5, u"av0pw3r", 1, 2, 1, 10},
};

// The mode keys that the first run deletes, in order, and those it builds.
static const WCHAR* const FIRST_RUN_DELETED_KEYS[] = {u"Mode 0", u"Mode 1", u"Mode 2",
                                                      u"Mode 3", u"Mode 4", u"Mode 5"};
static const WCHAR* const USER_MODE_KEYS[] = {u"Mode 1", u"Mode 2", u"Mode 3", u"Mode 4", u"Mode 5"};
static const int USER_MODE_COUNT = sizeof USER_MODE_KEYS / sizeof USER_MODE_KEYS[0];

// A complete record of one factory mode.
static ModeRecord FactoryRecord(const FactoryMode& factory) {
  ModeRecord mode;
  std::memset(&mode, 0, sizeof mode);
  StringCchCopyW(mode.ModeName, MODE_NAME_WIDTH, factory.modeName);
  mode.SystemVolume = factory.systemVolume;
  mode.PhoneVolume = factory.phoneVolume;
  mode.SpeakerVolume = factory.speakerVolume;
  StringCchCopyW(mode.RingMode, RING_MODE_WIDTH, factory.ringMode);
  StringCchCopyW(mode.RingTone, RING_TONE_WIDTH, u"BellDitty .wma");
  mode.RadioState = factory.radioState;
  mode.BTState = factory.btState;
  mode.HeadsetState = factory.headsetState;
  mode.BrightNess = factory.brightNess;
  mode.StartHour = 0;
  mode.StartMinutes = 0;
  mode.StopHour = 0;
  mode.StopMinutes = 0;
  mode.ModeBack = 1;
  mode.AutoPickUp = 0;
  mode.NbRingPickUp = 3;
  StringCchCopyW(mode.SimCode, SIM_CODE_WIDTH, u"");
  mode.Sound = 7;
  mode.Days = 0;
  mode.OutlookSwitch = 0;
  mode.OutlookAutoRefresh = 0;
  mode.ModeBusy = 0;
  mode.Status = 4;
  StringCchCopyW(mode.Category, CATEGORY_WIDTH, u"N/A");
  StringCchCopyW(mode.ProgramToRun, PROGRAM_TO_RUN_WIDTH, u"");
  mode.ACBrightNess = 10;
  mode.BatteryTimeoutUnchecked = 0;
  mode.BatteryTimeout = 180;
  mode.BacklightOnTap = 1;
  return mode;
}

int WriteFactoryMode(LPCWSTR keyName) {
  for (const FactoryMode& factory : FACTORY_MODES) {
    if (wcscmp(keyName, factory.keyName) != 0) continue;
    SaveMode(keyName, FactoryRecord(factory));
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
  HKEY root = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &root) == ERROR_SUCCESS) {
    for (const WCHAR* keyName : FIRST_RUN_DELETED_KEYS) RegDeleteKeyW(root, keyName);
    RegCloseKey(root);
  }
  // Each value is written once. Saving the factory mode writes all of its
  // values, so the defaults that loading a missing mode would store first
  // are left out. An entry that seeding adds already holds its mode's
  // factory options, so only a mode whose "Notifications" key outlived the
  // deletion above (a deletion that failed) has its entries reset.
  BOOL keptEntries[USER_MODE_COUNT];
  for (int i = 0; i < USER_MODE_COUNT; ++i) {
    keptEntries[i] = HasNotificationsKey(USER_MODE_KEYS[i]);
    SeedNotifications(USER_MODE_KEYS[i], phoneEvents, eventCount);
  }
  for (int i = 0; i < USER_MODE_COUNT; ++i) {
    WriteFactoryMode(USER_MODE_KEYS[i]);
    if (keptEntries[i]) ResetNotificationOptions(USER_MODE_KEYS[i]);
  }

  // The store is prepared only once all five modes are in place, so a set-up
  // cut short runs again in full at the next start.
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &root) == ERROR_SUCCESS) {
    WriteDwordValue(root, INIT_VALUE, 1);
    RegCloseKey(root);
  }
  return FIRST_RUN_ACTIVE_MODE;
}
