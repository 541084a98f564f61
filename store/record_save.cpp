// The scratch key and commit mark of a whole-record save, and the copy of
// the scratch key into the mode key.
#include "store/record_save.h"

#include <vector>

#include "store/format_buffer.h"
#include "store/mode_store.h"
#include "store/registry_values.h"
#include "store/root_values.h"

// Room for a mode key name in the mark ("Mode " and a decimal int).
#define SAVED_KEY_NAME_SIZE 20
// The registry's longest key or value name, and its terminator.
#define REGISTRY_NAME_SIZE 256

// The save open in this program: how deep the saves nest, and the mode key
// of the outermost.
static int SaveDepth;
static WCHAR SavedKeyName[SAVED_KEY_NAME_SIZE];

// The full path of a key directly under the store's root.
static void RootSubkeyPath(LPCWSTR name, WCHAR path[WSPRINTF_BUFFER_SIZE]) { wsprintfW(path, MODE_KEY_FORMAT, name); }

// A key name the program itself forms for a mode ("Mode %d"); the mark is
// read from the device, and anything else in it must not name a key to write.
static BOOL IsModeKeyName(LPCWSTR name) {
  if (wcsncmp(name, TEXT("Mode "), 5) != 0) return FALSE;
  LPCWSTR digits = name + 5;
  if (*digits == TEXT('-')) ++digits;
  if (!*digits) return FALSE;
  for (; *digits; ++digits)
    if (*digits < TEXT('0') || *digits > TEXT('9')) return FALSE;
  return TRUE;
}

// Copies every value of `from` into `to`, type and bytes as stored, then
// each subkey the same way, creating it in `to` when missing. What `to`
// holds besides is kept.
static void CopyKeyTree(HKEY from, HKEY to) {
  for (DWORD i = 0;; ++i) {
    WCHAR name[REGISTRY_NAME_SIZE];
    DWORD nameLength = REGISTRY_NAME_SIZE;
    DWORD type = REG_NONE;
    if (RegEnumValueW(from, i, name, &nameLength, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) break;
    std::vector<BYTE> data;
    if (ReadWholeValue(from, name, &data) != ERROR_SUCCESS) continue;
    RegSetValueExW(to, name, 0, type, data.data(), (DWORD)data.size());
  }
  for (DWORD i = 0;; ++i) {
    WCHAR name[REGISTRY_NAME_SIZE];
    DWORD nameLength = REGISTRY_NAME_SIZE;
    if (RegEnumKeyExW(from, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY fromSub = nullptr;
    HKEY toSub = nullptr;
    if (RegOpenKeyExW(from, name, 0, 0, &fromSub) == ERROR_SUCCESS &&
        RegCreateKeyExW(to, name, 0, nullptr, 0, KEY_WRITE, nullptr, &toSub, nullptr) == ERROR_SUCCESS)
      CopyKeyTree(fromSub, toSub);
    if (toSub) RegCloseKey(toSub);
    if (fromSub) RegCloseKey(fromSub);
  }
}

// Copies the scratch key into mode key `keyName`; FALSE when there is no
// scratch key.
static BOOL CopyScratchInto(LPCWSTR keyName) {
  WCHAR path[WSPRINTF_BUFFER_SIZE];
  RootSubkeyPath(SAVE_SCRATCH_KEY_NAME, path);
  HKEY scratch;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &scratch) != ERROR_SUCCESS) return FALSE;
  RootSubkeyPath(keyName, path);
  HKEY mode;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr, &mode, nullptr) == ERROR_SUCCESS) {
    CopyKeyTree(scratch, mode);
    RegCloseKey(mode);
  }
  RegCloseKey(scratch);
  return TRUE;
}

// The mark goes before the scratch key: a scratch key left without its mark
// is dropped, never copied half deleted. (The phone's RegDeleteKeyW removes
// a key with everything below it.)
static void RemoveMarkAndScratch() {
  DeleteRootValue(SAVE_UNDERWAY_VALUE);
  HKEY root;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &root) != ERROR_SUCCESS) return;
  RegDeleteKeyW(root, SAVE_SCRATCH_KEY_NAME);
  RegCloseKey(root);
}

void FinishInterruptedSave() {
  HKEY root;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &root) != ERROR_SUCCESS) return;
  WCHAR keyName[SAVED_KEY_NAME_SIZE] = TEXT("");
  DWORD type = REG_NONE;
  DWORD size = 0;
  BOOL marked = RegQueryValueExW(root, SAVE_UNDERWAY_VALUE, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
  if (marked && type == REG_SZ) ReadTextValue(root, SAVE_UNDERWAY_VALUE, keyName, SAVED_KEY_NAME_SIZE);
  HKEY scratch;
  BOOL scratchLeft = RegOpenKeyExW(root, SAVE_SCRATCH_KEY_NAME, 0, 0, &scratch) == ERROR_SUCCESS;
  if (scratchLeft) RegCloseKey(scratch);
  RegCloseKey(root);
  if (!marked && !scratchLeft) return;
  if (marked && IsModeKeyName(keyName)) CopyScratchInto(keyName);
  RemoveMarkAndScratch();
}

void BeginRecordSave(LPCWSTR keyName) {
  if (SaveDepth++ > 0) return;
  FinishInterruptedSave();
  wcsncpy(SavedKeyName, keyName, SAVED_KEY_NAME_SIZE - 1);
  SavedKeyName[SAVED_KEY_NAME_SIZE - 1] = 0;
}

void EndRecordSave() {
  if (SaveDepth == 0 || --SaveDepth > 0) return;
  WCHAR keyName[SAVED_KEY_NAME_SIZE];
  wcsncpy(keyName, SavedKeyName, SAVED_KEY_NAME_SIZE);
  SavedKeyName[0] = 0;
  HKEY root;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &root) != ERROR_SUCCESS) return;
  HKEY scratch;
  BOOL written = RegOpenKeyExW(root, SAVE_SCRATCH_KEY_NAME, 0, 0, &scratch) == ERROR_SUCCESS;
  if (written) {
    RegCloseKey(scratch);
    WriteTextValue(root, SAVE_UNDERWAY_VALUE, keyName, SAVED_KEY_NAME_SIZE);
  }
  RegCloseKey(root);
  if (!written) return;
  CopyScratchInto(keyName);
  RemoveMarkAndScratch();
}

LPCWSTR RecordWriteKeyName(LPCWSTR keyName) {
  if (SaveDepth > 0 && wcscmp(keyName, SavedKeyName) == 0) return SAVE_SCRATCH_KEY_NAME;
  return keyName;
}
