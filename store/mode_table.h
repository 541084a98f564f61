// The thirty values of a mode, one row each in the order of a mode text
// file: where each lives in the store and in a ModeRecord, and every value
// it starts from. Loading, saving, the factory modes, the export and the
// import all walk this one table.
#pragma once

#include <windows.h>
#include <cstddef>

#include "store/mode_keys.h"
#include "store/mode_record.h"

// One setting of a value: `Number` for a REG_DWORD, `Text` for a REG_SZ.
struct ModeValueSetting {
  DWORD Number = 0;
  LPCWSTR Text = nullptr;
};

struct ModeValue {
  LPCWSTR Name;   // the registry value's name, as stored
  LPCWSTR Label;  // its name in a mode text file; the registry matches it without regard to case
  DWORD Type;     // REG_DWORD or REG_SZ
  size_t Field;   // offsetof the field in ModeRecord
  size_t Width = 0;  // units of a text field, terminator included; 0 for a number
  ModeValueSetting Loaded;             // what the loader stores for a missing value
  ModeValueSetting Factory[LAST_MODE];  // the factory modes "Mode 1" to "Mode 5"
  ModeValueSetting Imported;           // what an import starts from, before any line is read
  ModeValueSetting NotFound;           // what an import takes from a "not found" line
  DWORD ExportBytes = 0;  // the longest stored text the export reads, in bytes with the terminator
  BOOL NamedAfterKey = FALSE;  // the loader and the import start from the key's name instead
  BOOL Secret = FALSE;         // the export tells only whether the mode has one
  LPCWSTR PhoneSwitch = nullptr;  // the phone's backlight on/off value that saving a mode sets from it
};

#define MODE_VALUE_COUNT 30

extern const ModeValue MODE_VALUES[MODE_VALUE_COUNT];

// The field of `value` in `mode`: a DWORD, or a text of value.Width units.
DWORD* ModeNumber(ModeRecord* mode, const ModeValue& value);
const DWORD* ModeNumber(const ModeRecord* mode, const ModeValue& value);
WCHAR* ModeText(ModeRecord* mode, const ModeValue& value);
const WCHAR* ModeText(const ModeRecord* mode, const ModeValue& value);

// The row of the value named `name` exactly as stored; null for no value of a mode.
const ModeValue* FindModeValue(LPCWSTR name);

// Sets the field of `value` to `setting`, a text cut to the field.
void SetModeField(ModeRecord* mode, const ModeValue& value, ModeValueSetting setting);

// A record of every value's `Loaded` setting, "Mode Name" the key's name.
ModeRecord LoaderDefaults(LPCWSTR keyName);

// A record of every value's `Imported` setting, "Mode Name" the section's name.
ModeRecord ImportStart(LPCWSTR sectionName);

// A record of factory mode `mode` (1 to 5).
ModeRecord FactoryRecord(int mode);
