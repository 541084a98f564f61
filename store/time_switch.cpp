// The timer bar's rows of the "TimeSwitch" state word, applied to the store.
#include "store/time_switch.h"

#include "store/mode_store.h"
#include "store/registry_values.h"

DWORD TimeSwitchAfterSet(DWORD before) {
  if (before <= 3) return before + 4;
  return before;
}

DWORD TimeSwitchAfterCancel(DWORD before) {
  if (before >= 4 && before <= 7) return before - 4;
  if (before == 10 || before == 11) return before - 2;
  return before;
}

void UpdateTimeSwitch(BOOL durationSet) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &key) != ERROR_SUCCESS) return;
  DWORD before = 0;
  DWORD size = 0;
  BOOL present = RegQueryValueExW(key, TIME_SWITCH_VALUE, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS;
  if (!present || ReadTypedDwordValue(key, TIME_SWITCH_VALUE, &before) == ERROR_SUCCESS) {
    WriteDwordValue(key, TIME_SWITCH_VALUE, durationSet ? TimeSwitchAfterSet(before) : TimeSwitchAfterCancel(before));
  }
  RegCloseKey(key);
}
