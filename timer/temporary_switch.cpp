// The store side of a temporary switch: end times and back mode in the mode
// keys.
#include "timer/temporary_switch.h"

#include "timer/timer_registry.h"
#include "timer/timer_state.h"

// Opens a mode key for writing, creating it when it does not open.
static BOOL OpenOrCreateModeKey(DWORD mode, HKEY* key) {
  WCHAR path[MODE_KEY_PATH_SIZE];
  ModeKeyPath(mode, path);
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, key) == ERROR_SUCCESS) return TRUE;
  DWORD disposition;
  return RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr, key, &disposition) ==
         ERROR_SUCCESS;
}

void WriteTemporarySwitch(DWORD hour, DWORD minute) {
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    HKEY key;
    if (!OpenOrCreateModeKey(mode, &key)) continue;
    WriteDwordValue(key, STOP_HOUR_TEMP_VALUE, 0);
    WriteDwordValue(key, STOP_MINUTES_TEMP_VALUE, 0);
    RegCloseKey(key);
  }
  HKEY key;
  if (!OpenOrCreateModeKey(Timer.Command.TargetMode, &key)) return;
  WriteDwordValue(key, STOP_HOUR_TEMP_VALUE, hour);
  WriteDwordValue(key, STOP_MINUTES_TEMP_VALUE, minute);
  WriteDwordValue(key, MODE_BACK_TEMP_VALUE, Timer.Command.BackMode);
  RegCloseKey(key);
}

void ClearTemporaryStops() {
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    WCHAR path[MODE_KEY_PATH_SIZE];
    ModeKeyPath(mode, path);
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &key) != ERROR_SUCCESS) continue;
    WriteDwordValue(key, STOP_HOUR_TEMP_VALUE, 0);
    WriteDwordValue(key, STOP_MINUTES_TEMP_VALUE, 0);
    RegCloseKey(key);
  }
}

void TemporaryEndTime(DWORD hour, DWORD minute, int minutes, DWORD* endHour, DWORD* endMinute) {
  DWORD total = hour * 60 + minute + (DWORD)minutes;
  *endHour = (total / 60) % 24;
  *endMinute = total % 60;
  if (*endHour == 0 && *endMinute == 0) *endMinute = 1;
}
