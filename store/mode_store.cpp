// Loading and saving one mode between its key in the settings store and a
// ModeRecord: the loader repairs the store, the savers write every value.
#include "store/mode_store.h"

#include <cstring>
#include <vector>

#include "store/format_buffer.h"
#include "store/mode_table.h"
#include "store/record_save.h"
#include "store/registry_values.h"

namespace {

// Reads a DWORD into `field`; an absent value is written back with the
// field's present content, its default. Data of another size are taken as
// stored: the first four bytes, or fewer widened with zeros.
void LoadDword(HKEY key, LPCWSTR name, DWORD* field) {
  std::vector<BYTE> data;
  LONG status = ReadWholeValue(key, name, &data);
  if (status == ERROR_FILE_NOT_FOUND) {
    WriteDwordValue(key, name, *field);
  } else if (status == ERROR_SUCCESS) {
    DWORD value = 0;
    std::memcpy(&value, data.data(), data.size() < sizeof value ? data.size() : sizeof value);
    *field = value;
  }
}

// Reads a text into a field of `width` units, whatever its stored length:
// it is cut at its first terminator or where the field ends, and always
// terminated. An absent value is written back with its default.
void LoadText(HKEY key, LPCWSTR name, WCHAR* field, size_t width) {
  if (ReadTextValue(key, name, field, width) == ERROR_FILE_NOT_FOUND) WriteTextValue(key, name, field, width);
}

// The full path of the mode key named `keyName`, from MODE_KEY_FORMAT.
void NamedModeKeyPath(LPCWSTR keyName, WCHAR* path) { wsprintfW(path, MODE_KEY_FORMAT, keyName); }

HKEY OpenModeKey(LPCWSTR keyName) {
  WCHAR path[WSPRINTF_BUFFER_SIZE];
  NamedModeKeyPath(keyName, path);
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &key) != ERROR_SUCCESS) return nullptr;
  return key;
}

// Opens the mode key, creating it when missing; null when neither works.
HKEY OpenOrCreateModeKey(LPCWSTR keyName) {
  HKEY key = OpenModeKey(keyName);
  if (key) return key;
  WCHAR path[WSPRINTF_BUFFER_SIZE];
  NamedModeKeyPath(keyName, path);
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

// Sets one of the phone's backlight on/off values: 1 when the level is not 0.
void WriteBacklightSwitch(LPCWSTR name, DWORD level) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, BACKLIGHT_KEY, 0, 0, &key) != ERROR_SUCCESS) return;
  WriteDwordValue(key, name, level != 0 ? 1 : 0);
  RegCloseKey(key);
}

// The thirty values in the table's order; with `phoneBacklight`, each
// brightness is followed by the phone's matching on/off value. Each value is
// written on its own and none is journalled, so another program reading the
// key meanwhile may see it half written in any order of writes.
void WriteModeValues(HKEY key, const ModeRecord& mode, bool phoneBacklight) {
  for (const ModeValue& value : MODE_VALUES) {
    if (value.Type == REG_DWORD)
      WriteDwordValue(key, value.Name, *ModeNumber(&mode, value));
    else
      WriteTextValue(key, value.Name, ModeText(&mode, value), value.Width);
    if (phoneBacklight && value.PhoneSwitch) WriteBacklightSwitch(value.PhoneSwitch, *ModeNumber(&mode, value));
  }
}

}  // namespace

ModeRecord LoadMode(LPCWSTR keyName) {
  ModeRecord mode = LoaderDefaults(keyName);
  HKEY key = OpenModeKey(keyName);
  if (!key) {
    WCHAR path[WSPRINTF_BUFFER_SIZE];
    NamedModeKeyPath(keyName, path);
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
      WriteModeValues(key, mode, false);
      RegCloseKey(key);
    }
    return mode;
  }
  // Each value on its own: a key that lacks some values gets exactly those.
  for (const ModeValue& value : MODE_VALUES) {
    if (value.Type == REG_DWORD)
      LoadDword(key, value.Name, ModeNumber(&mode, value));
    else
      LoadText(key, value.Name, ModeText(&mode, value), value.Width);
  }
  RegCloseKey(key);
  return mode;
}

int SaveMode(LPCWSTR keyName, ModeRecord mode) {
  HKEY key = OpenOrCreateModeKey(RecordWriteKeyName(keyName));
  if (!key) return 0;
  WriteModeValues(key, mode, true);
  RegCloseKey(key);
  return 0;
}

int SaveExistingMode(LPCWSTR keyName, ModeRecord mode) {
  HKEY key = OpenModeKey(keyName);
  if (!key) return 0;
  // Within a whole-record save the values go to its scratch key.
  LPCWSTR target = RecordWriteKeyName(keyName);
  if (target != keyName) {
    RegCloseKey(key);
    key = OpenOrCreateModeKey(target);
    if (!key) return 0;
  }
  WriteModeValues(key, mode, false);
  RegCloseKey(key);
  return 0;
}

int WriteModeName(LPCWSTR keyName, LPCWSTR name) {
  HKEY key = OpenOrCreateModeKey(RecordWriteKeyName(keyName));
  if (!key) return 0;
  RegSetValueExW(key, MODE_NAME_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(name),
                 static_cast<DWORD>((wcslen(name) + 1) * sizeof(WCHAR)));
  RegCloseKey(key);
  return 0;
}
