// Finding, writing and clearing a temporary switch in the mode keys.
#include "store/temporary_switch.h"

#include "store/mode_keys.h"
#include "store/registry_values.h"
#include "store/time_switch.h"

void FindPendingSwitch(PendingSwitch* pending) {
  pending->Pending = FALSE;
  pending->Mode = 0;
  pending->StopHour = 0;
  pending->StopMinutes = 0;
  pending->ModeBack = 0;
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    WCHAR path[MODE_KEY_PATH_SIZE];
    ModeKeyPath(mode, path);
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &key) != ERROR_SUCCESS) continue;
    DWORD hour = 0;
    DWORD minute = 0;
    DWORD back = 0;
    ReadTypedDwordValue(key, STOP_HOUR_TEMP_VALUE, &hour);
    ReadTypedDwordValue(key, STOP_MINUTES_TEMP_VALUE, &minute);
    ReadTypedDwordValue(key, MODE_BACK_TEMP_VALUE, &back);
    RegCloseKey(key);
    if (hour != 0 || minute != 0) {
      pending->Pending = TRUE;
      pending->Mode = mode;
      pending->StopHour = hour;
      pending->StopMinutes = minute;
      pending->ModeBack = back;
      return;
    }
  }
}

// Opens a mode key for writing, creating it when it does not open.
static BOOL OpenOrCreateModeKey(DWORD mode, HKEY* key) {
  WCHAR path[MODE_KEY_PATH_SIZE];
  ModeKeyPath(mode, path);
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, key) == ERROR_SUCCESS) return TRUE;
  DWORD disposition;
  return RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr, key, &disposition) ==
         ERROR_SUCCESS;
}

void WriteTemporarySwitch(DWORD targetMode, DWORD backMode, DWORD hour, DWORD minute) {
  for (DWORD mode = FIRST_MODE; mode <= LAST_MODE; ++mode) {
    HKEY key;
    if (!OpenOrCreateModeKey(mode, &key)) continue;
    WriteDwordValue(key, STOP_HOUR_TEMP_VALUE, 0);
    WriteDwordValue(key, STOP_MINUTES_TEMP_VALUE, 0);
    RegCloseKey(key);
  }
  HKEY key;
  if (!OpenOrCreateModeKey(targetMode, &key)) return;
  WriteDwordValue(key, STOP_HOUR_TEMP_VALUE, hour);
  WriteDwordValue(key, STOP_MINUTES_TEMP_VALUE, minute);
  WriteDwordValue(key, MODE_BACK_TEMP_VALUE, backMode);
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

void CarryOutTemporarySwitch(const TemporarySwitchRecord* record) {
  if (record->DurationSet) {
    WriteTemporarySwitch(record->TargetMode, record->BackMode, record->StopHour, record->StopMinutes);
    UpdateTimeSwitch(TRUE);
  } else {
    WriteTemporarySwitch(record->TargetMode, record->BackMode, 0, 0);
    UpdateTimeSwitch(FALSE);
    ClearTemporaryStops();
  }
}
