// The item reads the store afresh at every switch, value by value.
#include "today/mode_values.h"

#include "store/mode_keys.h"
#include "store/mode_table.h"
#include "store/registry_values.h"

// "Category" as a REG_SZ that fits its field; empty otherwise.
static void ReadCategory(HKEY key, WCHAR category[CATEGORY_WIDTH]) {
  category[0] = 0;
  WCHAR stored[CATEGORY_WIDTH] = {};
  DWORD type = REG_NONE;
  DWORD size = sizeof(stored) - sizeof(WCHAR);
  if (RegQueryValueExW(key, CATEGORY_VALUE, nullptr, &type, (LPBYTE)stored, &size) != ERROR_SUCCESS) return;
  if (type != REG_SZ) return;
  stored[size / sizeof(WCHAR)] = 0;
  wcsncpy(category, stored, CATEGORY_WIDTH);
  category[CATEGORY_WIDTH - 1] = 0;
}

void ReadModeSwitchValues(DWORD mode, ModeSwitchValues* values) {
  ModeSwitchValues empty = {};
  *values = empty;
  values->ModeBack = FindModeValue(MODE_BACK_VALUE)->Loaded.Number;
  values->Days = FindModeValue(DAYS_VALUE)->Loaded.Number;
  WCHAR path[MODE_KEY_PATH_SIZE];
  ModeKeyPath(mode, path);
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &key) != ERROR_SUCCESS) return;
  values->Present = TRUE;
  ReadTypedDwordValue(key, START_HOUR_VALUE, &values->StartHour);
  ReadTypedDwordValue(key, START_MINUTES_VALUE, &values->StartMinutes);
  ReadTypedDwordValue(key, STOP_HOUR_VALUE, &values->StopHour);
  ReadTypedDwordValue(key, STOP_MINUTES_VALUE, &values->StopMinutes);
  ReadTypedDwordValue(key, MODE_BACK_VALUE, &values->ModeBack);
  ReadTypedDwordValue(key, DAYS_VALUE, &values->Days);
  ReadTypedDwordValue(key, OUTLOOK_SWITCH_VALUE, &values->OutlookSwitch);
  ReadTypedDwordValue(key, OUTLOOK_AUTO_REFRESH_VALUE, &values->OutlookAutoRefresh);
  ReadTypedDwordValue(key, MODE_BUSY_VALUE, &values->ModeBusy);
  ReadTypedDwordValue(key, STATUS_VALUE, &values->Status);
  ReadTypedDwordValue(key, START_HOUR_OUTLOOK_VALUE, &values->StartHourOutlook);
  ReadTypedDwordValue(key, START_MINUTES_OUTLOOK_VALUE, &values->StartMinutesOutlook);
  ReadTypedDwordValue(key, STOP_HOUR_OUTLOOK_VALUE, &values->StopHourOutlook);
  ReadTypedDwordValue(key, STOP_MINUTES_OUTLOOK_VALUE, &values->StopMinutesOutlook);
  ReadCategory(key, values->Category);
  RegCloseKey(key);
}

BOOL WriteModeDword(DWORD mode, LPCWSTR name, DWORD value) {
  WCHAR path[MODE_KEY_PATH_SIZE];
  ModeKeyPath(mode, path);
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &key) != ERROR_SUCCESS) return FALSE;
  WriteDwordValue(key, name, value);
  RegCloseKey(key);
  return TRUE;
}

BOOL IsTimeOfDay(DWORD hour, DWORD minute, const SYSTEMTIME* now) {
  if (hour == 0 && minute == 0) return FALSE;
  return hour == now->wHour && minute == now->wMinute;
}

BOOL DayTicked(DWORD days, WORD dayOfWeek) {
  int shift = ((7 - dayOfWeek % 7) % 7) * 4;
  return ((days >> shift) & 0xF) == 1;
}

BOOL StartsOnDay(DWORD days, WORD dayOfWeek) { return days == 0 || DayTicked(days, dayOfWeek); }
