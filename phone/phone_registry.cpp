// The phone keys' writers: each opens an existing key under
// HKEY_CURRENT_USER, writes one value and closes the key on the same path.
#include "phone/phone_registry.h"

int WriteOpenDword(HKEY key, LPCWSTR name, DWORD value) {
  LONG result = RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  return result == ERROR_SUCCESS ? PHONE_VALUE_WRITTEN : PHONE_WRITE_FAILED;
}

int WritePhoneDword(LPCWSTR key, LPCWSTR name, DWORD value) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, 0, &opened) != ERROR_SUCCESS) return PHONE_KEY_MISSING;
  int result = WriteOpenDword(opened, name, value);
  RegCloseKey(opened);
  return result;
}

int WritePhoneText(LPCWSTR key, LPCWSTR name, LPCWSTR text) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, 0, &opened) != ERROR_SUCCESS) return PHONE_KEY_MISSING;
  // Text goes in with its terminating zero.
  const DWORD bytes = static_cast<DWORD>((wcslen(text) + 1) * sizeof(WCHAR));
  LONG result = RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
  RegCloseKey(opened);
  return result == ERROR_SUCCESS ? PHONE_VALUE_WRITTEN : PHONE_WRITE_FAILED;
}
