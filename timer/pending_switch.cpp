// Finding a pending temporary switch in the mode keys and wording it for the
// bar.
#include "timer/pending_switch.h"

#include "timer/timer_registry.h"

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
    ReadDwordValue(key, STOP_HOUR_TEMP_VALUE, &hour);
    ReadDwordValue(key, STOP_MINUTES_TEMP_VALUE, &minute);
    ReadDwordValue(key, MODE_BACK_TEMP_VALUE, &back);
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

void ReadModeName(DWORD mode, WCHAR name[]) {
  name[0] = 0;
  WCHAR path[MODE_KEY_PATH_SIZE];
  ModeKeyPath(mode, path);
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &key) != ERROR_SUCCESS) return;
  WCHAR stored[MODE_NAME_SIZE];
  DWORD type = REG_NONE;
  DWORD size = sizeof(stored);
  if (RegQueryValueExW(key, MODE_NAME_VALUE, nullptr, &type, (LPBYTE)stored, &size) == ERROR_SUCCESS &&
      type == REG_SZ) {
    // The stored text may lack its terminator or end in half a unit.
    size_t units = size / sizeof(WCHAR);
    if (units >= MODE_NAME_SIZE) units = MODE_NAME_SIZE - 1;
    for (size_t i = 0; i < units; ++i) name[i] = stored[i];
    name[units] = 0;
  }
  RegCloseKey(key);
}

void FormatPendingText(LPCWSTR name, DWORD hour, DWORD minute, WCHAR text[PENDING_TEXT_SIZE]) {
  LPCWSTR pattern;
  if (hour < 10) {
    pattern = minute < 10 ? u"Switching to %s at 0%d:0%d" : u"Switching to %s at 0%d:%d";
  } else {
    pattern = minute < 10 ? u"Switching to %s at %d:0%d" : u"Switching to %s at %d:%d";
  }
  wsprintfW(text, pattern, name, (int)hour, (int)minute);
}
