// The root key's words and records, each read or written on its own.
#include "store/root_values.h"

#include <cstring>
#include <vector>

#include "store/mode_keys.h"
#include "store/mode_store.h"
#include "store/registry_values.h"

BOOL ReadRootDword(LPCWSTR name, DWORD* value) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &key) != ERROR_SUCCESS) return FALSE;
  BOOL found = ReadTypedDwordValue(key, name, value) == ERROR_SUCCESS;
  RegCloseKey(key);
  return found;
}

BOOL RootValueStored(LPCWSTR name) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &key) != ERROR_SUCCESS) return FALSE;
  DWORD size = 0;
  BOOL stored = RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  return stored;
}

void WriteRootDword(LPCWSTR name, DWORD value) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &key) != ERROR_SUCCESS) return;
  WriteDwordValue(key, name, value);
  RegCloseKey(key);
}

DWORD ReadActiveMode() {
  DWORD mode = 0;
  BOOL found = ReadRootDword(DEFAULT_MODE_VALUE, &mode);
  return ActiveModeNamed(found, mode);
}

DWORD ActiveModeNamed(BOOL found, DWORD value) {
  return found && value >= FIRST_MODE && value <= LAST_MODE ? value : 0;
}

void WriteRootRecord(LPCWSTR name, const void* record, DWORD size) {
  HKEY key;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExW(key, name, 0, REG_BINARY, (const BYTE*)record, size);
  RegCloseKey(key);
}

BOOL ReadRootRecord(LPCWSTR name, void* record, DWORD size) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &key) != ERROR_SUCCESS) return FALSE;
  // Read into a buffer of its own: a longer value is refused untouched, a
  // shorter one or one of another type is read but not taken.
  std::vector<BYTE> data(size);
  DWORD type = REG_NONE;
  DWORD stored = size;
  BOOL found = RegQueryValueExW(key, name, nullptr, &type, data.data(), &stored) == ERROR_SUCCESS &&
               type == REG_BINARY && stored == size;
  RegCloseKey(key);
  if (found) memcpy(record, data.data(), size);
  return found;
}

void DeleteRootValue(LPCWSTR name) {
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &key) != ERROR_SUCCESS) return;
  RegDeleteValueW(key, name);
  RegCloseKey(key);
}
