// Mode keys by number, and the name stored in one.
#include "store/mode_keys.h"

void ModeKeyName(DWORD mode, WCHAR keyName[MODE_KEY_NAME_SIZE]) {
  wsprintfW(keyName, MODE_KEY_NAME_FORMAT, (int)mode);
}

void ModeKeyPath(DWORD mode, WCHAR path[MODE_KEY_PATH_SIZE]) {
  wsprintfW(path, MODE_NUMBER_KEY_FORMAT, (int)mode);
}

void ReadModeName(DWORD mode, WCHAR name[MODE_NAME_WIDTH]) {
  name[0] = 0;
  WCHAR path[MODE_KEY_PATH_SIZE];
  ModeKeyPath(mode, path);
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &key) != ERROR_SUCCESS) return;
  WCHAR stored[MODE_NAME_WIDTH];
  DWORD type = REG_NONE;
  DWORD size = sizeof(stored);
  if (RegQueryValueExW(key, MODE_NAME_VALUE, nullptr, &type, (LPBYTE)stored, &size) == ERROR_SUCCESS &&
      type == REG_SZ) {
    // The stored text may lack its terminator or end in half a unit.
    size_t units = size / sizeof(WCHAR);
    if (units >= MODE_NAME_WIDTH) units = MODE_NAME_WIDTH - 1;
    for (size_t i = 0; i < units; ++i) name[i] = stored[i];
    name[units] = 0;
  }
  RegCloseKey(key);
}
