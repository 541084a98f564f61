// Mode key paths and DWORD reads and writes for the timer's store access.
#include "timer/timer_registry.h"

void ModeKeyPath(DWORD mode, WCHAR path[MODE_KEY_PATH_SIZE]) {
  wsprintfW(path, MODE_NUMBER_KEY_FORMAT, (int)mode);
}

BOOL ReadDwordValue(HKEY key, LPCWSTR name, DWORD* value) {
  DWORD data = 0;
  DWORD type = REG_NONE;
  DWORD size = sizeof(data);
  if (RegQueryValueExW(key, name, nullptr, &type, (LPBYTE)&data, &size) != ERROR_SUCCESS) return FALSE;
  if (type != REG_DWORD || size != sizeof(data)) return FALSE;
  *value = data;
  return TRUE;
}

void WriteDwordValue(HKEY key, LPCWSTR name, DWORD value) {
  RegSetValueExW(key, name, 0, REG_DWORD, (const BYTE*)&value, sizeof(value));
}
