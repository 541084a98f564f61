// The root key's words, each read or written on its own.
#include "store/root_values.h"

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
