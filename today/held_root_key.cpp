// The root key the item holds open between its ticks. A held handle names
// the key it was opened on: when that key is deleted (a store reset, a
// `reg delete`), reads through it fail as deleted, so the key is opened
// again by its path and the read made once more.
#include "today/held_root_key.h"

#include "store/mode_store.h"
#include "store/registry_values.h"
#include "store/root_values.h"

static HKEY HeldRootKey;

BOOL ReadHeldRootDword(LPCWSTR name, DWORD* value) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!HeldRootKey && RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &HeldRootKey) != ERROR_SUCCESS) {
      HeldRootKey = nullptr;
      return FALSE;
    }
    LONG status = ReadTypedDwordValue(HeldRootKey, name, value);
    if (status != ERROR_KEY_DELETED && status != ERROR_INVALID_HANDLE) return status == ERROR_SUCCESS;
    CloseHeldRootKey();
  }
  return FALSE;
}

DWORD ReadHeldActiveMode() {
  DWORD mode = 0;
  BOOL found = ReadHeldRootDword(DEFAULT_MODE_VALUE, &mode);
  return ActiveModeNamed(found, mode);
}

void CloseHeldRootKey() {
  if (HeldRootKey) RegCloseKey(HeldRootKey);
  HeldRootKey = nullptr;
}
