// The switch itself: the store's "DefaultMode" names the mode in effect, the
// phone takes its settings, and the scheduler wakes the phone for the next one.
#include "today/mode_activation.h"

#include "phone/apply_stored_mode.h"
#include "schedule/switch_schedule.h"
#include "store/mode_store.h"
#include "timer/timer_registry.h"
#include "today/mode_values.h"

DWORD ReadActiveMode() { return ReadRootDword(DEFAULT_MODE_VALUE); }

void MakeModeActive(DWORD mode) {
  if (mode < FIRST_MODE || mode > LAST_MODE) return;
  HKEY key;
  DWORD disposition;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, &disposition) ==
      ERROR_SUCCESS) {
    WriteDwordValue(key, DEFAULT_MODE_VALUE, mode);
    RegCloseKey(key);
  }
  WCHAR keyName[TODAY_KEY_NAME_SIZE];
  wsprintfW(keyName, MODE_KEY_NAME_FORMAT, (int)mode);
  ApplyStoredMode(keyName);
  ScheduleNextSwitch();
}
