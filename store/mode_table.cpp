// The table of a mode's values and the records built from its columns.
#include "store/mode_table.h"

#include <strsafe.h>
#include <cstring>

#include "store/mode_store.h"
#include "store/ring_scripts.h"

namespace {

// The category of a new mode.
constexpr WCHAR BUSINESS_CATEGORY[] = TEXT("Business");

// The same number, or the same text, in all five factory modes.
#define FACTORY_NUMBER(n) {{n}, {n}, {n}, {n}, {n}}
#define FACTORY_TEXT(t) {{0, t}, {0, t}, {0, t}, {0, t}, {0, t}}

}  // namespace

const ModeValue MODE_VALUES[MODE_VALUE_COUNT] = {
    {.Name = SYSTEM_VOLUME_VALUE, .Label = SYSTEM_VOLUME_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, SystemVolume),
     .Loaded = {3}, .Factory = {{3}, {3}, {3}, {5}, {5}}, .Imported = {3}, .NotFound = {0}},
    {.Name = PHONE_VOLUME_VALUE, .Label = PHONE_VOLUME_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, PhoneVolume),
     .Loaded = {3}, .Factory = {{0}, {3}, {3}, {5}, {5}}, .Imported = {3}, .NotFound = {0}},
    {.Name = SPEAKER_VOLUME_VALUE, .Label = SPEAKER_VOLUME_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, SpeakerVolume),
     .Loaded = {3}, .Factory = {{4}, {4}, {4}, {4}, {5}}, .Imported = {4}, .NotFound = {0}},
    {.Name = RING_MODE_VALUE, .Label = RING_MODE_VALUE, .Type = REG_SZ,
     .Field = offsetof(ModeRecord, RingMode), .Width = RING_MODE_WIDTH,
     .Loaded = {0, RING_ONCE},
     .Factory = {{0, RING_FLASH}, {0, RING_VIBRATE_AND_RING}, {0, RING_VIBRATE_LONG_THEN_RING},
                 {0, RING_VIBRATE_AND_RING}, {0, RING_VIBRATE_AND_RING}},
     .Imported = {0, RING_FLASH}, .NotFound = {0, RING_ONCE}, .ExportBytes = 70},
    {.Name = RING_TONE_VALUE, .Label = RING_TONE_VALUE, .Type = REG_SZ,
     .Field = offsetof(ModeRecord, RingTone), .Width = RING_TONE_WIDTH,
     .Loaded = {0, DEFAULT_RING_TONE}, .Factory = FACTORY_TEXT(DEFAULT_RING_TONE),
     .Imported = {0, DEFAULT_RING_TONE}, .NotFound = {0, DEFAULT_RING_TONE}, .ExportBytes = 100},
    {.Name = RADIO_STATE_VALUE, .Label = RADIO_STATE_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, RadioState),
     .Loaded = {1}, .Factory = {{0}, {1}, {1}, {1}, {1}}, .Imported = {1}, .NotFound = {1}},
    {.Name = BT_STATE_VALUE, .Label = BT_STATE_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, BTState),
     .Loaded = {0}, .Factory = {{0}, {0}, {0}, {0}, {2}}, .Imported = {0}, .NotFound = {0}},
    {.Name = HEADSET_STATE_VALUE, .Label = HEADSET_STATE_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, HeadsetState),
     .Loaded = {0}, .Factory = {{0}, {0}, {0}, {0}, {1}}, .Imported = {0}, .NotFound = {0}},
    {.Name = START_HOUR_VALUE, .Label = START_HOUR_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, StartHour),
     .Loaded = {0}, .Factory = FACTORY_NUMBER(0), .Imported = {0}, .NotFound = {0}},
    {.Name = START_MINUTES_VALUE, .Label = START_MINUTES_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, StartMinutes),
     .Loaded = {0}, .Factory = FACTORY_NUMBER(0), .Imported = {0}, .NotFound = {0}},
    {.Name = STOP_HOUR_VALUE, .Label = STOP_HOUR_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, StopHour),
     .Loaded = {0}, .Factory = FACTORY_NUMBER(0), .Imported = {0}, .NotFound = {0}},
    {.Name = STOP_MINUTES_VALUE, .Label = STOP_MINUTES_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, StopMinutes),
     .Loaded = {0}, .Factory = FACTORY_NUMBER(0), .Imported = {0}, .NotFound = {0}},
    {.Name = MODE_BACK_VALUE, .Label = MODE_BACK_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, ModeBack),
     .Loaded = {1}, .Factory = FACTORY_NUMBER(1), .Imported = {1}, .NotFound = {1}},
    {.Name = AUTO_PICK_UP_VALUE, .Label = AUTO_PICK_UP_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, AutoPickUp),
     .Loaded = {0}, .Factory = FACTORY_NUMBER(0), .Imported = {0}, .NotFound = {0}},
    {.Name = NB_RING_PICK_UP_VALUE, .Label = NB_RING_PICK_UP_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, NbRingPickUp),
     .Loaded = {NB_RING_PICK_UP_DEFAULT}, .Factory = FACTORY_NUMBER(NB_RING_PICK_UP_DEFAULT),
     .Imported = {NB_RING_PICK_UP_DEFAULT}, .NotFound = {NB_RING_PICK_UP_DEFAULT}},
    {.Name = SIM_CODE_VALUE, .Label = SIM_CODE_VALUE, .Type = REG_SZ,
     .Field = offsetof(ModeRecord, SimCode), .Width = SIM_CODE_WIDTH,
     .Loaded = {0, TEXT("")}, .Factory = FACTORY_TEXT(TEXT("")), .Imported = {0, TEXT("")}, .NotFound = {0, TEXT("")},
     .ExportBytes = 100, .Secret = TRUE},
    {.Name = MODE_NAME_VALUE, .Label = MODE_NAME_VALUE, .Type = REG_SZ,
     .Field = offsetof(ModeRecord, ModeName), .Width = MODE_NAME_WIDTH,
     .Loaded = {0, TEXT("")}, .Factory = {{0, TEXT("Car")}, {0, TEXT("Night")}, {0, TEXT("Office")}, {0, TEXT("Home")}, {0, TEXT("Car")}},
     .Imported = {0, TEXT("")}, .NotFound = {0, TEXT("")}, .ExportBytes = 150, .NamedAfterKey = TRUE},
    {.Name = SOUND_VALUE, .Label = SOUND_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, Sound),
     .Loaded = {7}, .Factory = FACTORY_NUMBER(7), .Imported = {7}, .NotFound = {7}},
    {.Name = DAYS_VALUE, .Label = DAYS_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, Days),
     .Loaded = {ALL_DAYS}, .Factory = FACTORY_NUMBER(0), .Imported = {0}, .NotFound = {0}},
    {.Name = OUTLOOK_SWITCH_VALUE, .Label = OUTLOOK_SWITCH_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, OutlookSwitch),
     .Loaded = {0}, .Factory = FACTORY_NUMBER(0), .Imported = {0}, .NotFound = {0}},
    {.Name = OUTLOOK_AUTO_REFRESH_VALUE, .Label = OUTLOOK_AUTO_REFRESH_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, OutlookAutoRefresh),
     .Loaded = {0}, .Factory = FACTORY_NUMBER(0), .Imported = {0}, .NotFound = {0}},
    {.Name = MODE_BUSY_VALUE, .Label = MODE_BUSY_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, ModeBusy),
     .Loaded = {0}, .Factory = FACTORY_NUMBER(0), .Imported = {0}, .NotFound = {0}},
    {.Name = STATUS_VALUE, .Label = STATUS_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, Status),
     .Loaded = {0}, .Factory = FACTORY_NUMBER(STATUS_ANY), .Imported = {STATUS_ANY}, .NotFound = {STATUS_ANY}},
    {.Name = CATEGORY_VALUE, .Label = CATEGORY_VALUE, .Type = REG_SZ,
     .Field = offsetof(ModeRecord, Category), .Width = CATEGORY_WIDTH,
     .Loaded = {0, BUSINESS_CATEGORY}, .Factory = FACTORY_TEXT(CATEGORY_ANY),
     .Imported = {0, CATEGORY_ANY}, .NotFound = {0, BUSINESS_CATEGORY}, .ExportBytes = 100},
    {.Name = PROGRAM_TO_RUN_VALUE, .Label = PROGRAM_TO_RUN_VALUE, .Type = REG_SZ,
     .Field = offsetof(ModeRecord, ProgramToRun), .Width = PROGRAM_TO_RUN_WIDTH,
     .Loaded = {0, TEXT("")}, .Factory = FACTORY_TEXT(TEXT("")), .Imported = {0, TEXT("")}, .NotFound = {0, TEXT("")},
     .ExportBytes = 200},
    {.Name = BRIGHTNESS_VALUE, .Label = TEXT("Brightness"), .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, BrightNess),
     .Loaded = {8}, .Factory = {{8}, {7}, {8}, {8}, {10}}, .Imported = {8}, .NotFound = {8},
     .PhoneSwitch = ON_OFF_BATT_VALUE},
    {.Name = AC_BRIGHTNESS_VALUE, .Label = TEXT("ACBrightness"), .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, ACBrightNess),
     .Loaded = {10}, .Factory = FACTORY_NUMBER(10), .Imported = {10}, .NotFound = {8},
     .PhoneSwitch = ON_OFF_AC_VALUE},
    {.Name = BATTERY_TIMEOUT_UNCHECKED_VALUE, .Label = BATTERY_TIMEOUT_UNCHECKED_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, BatteryTimeoutUnchecked),
     .Loaded = {180}, .Factory = FACTORY_NUMBER(0), .Imported = {0}, .NotFound = {0}},
    {.Name = BATTERY_TIMEOUT_VALUE, .Label = BATTERY_TIMEOUT_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, BatteryTimeout),
     .Loaded = {0}, .Factory = FACTORY_NUMBER(180), .Imported = {180}, .NotFound = {120}},
    {.Name = BACKLIGHT_ON_TAP_VALUE, .Label = BACKLIGHT_ON_TAP_VALUE, .Type = REG_DWORD,
     .Field = offsetof(ModeRecord, BacklightOnTap),
     .Loaded = {1}, .Factory = FACTORY_NUMBER(1), .Imported = {1}, .NotFound = {1}},
};

DWORD* ModeNumber(ModeRecord* mode, const ModeValue& value) {
  return reinterpret_cast<DWORD*>(reinterpret_cast<BYTE*>(mode) + value.Field);
}

const DWORD* ModeNumber(const ModeRecord* mode, const ModeValue& value) {
  return reinterpret_cast<const DWORD*>(reinterpret_cast<const BYTE*>(mode) + value.Field);
}

WCHAR* ModeText(ModeRecord* mode, const ModeValue& value) {
  return reinterpret_cast<WCHAR*>(reinterpret_cast<BYTE*>(mode) + value.Field);
}

const WCHAR* ModeText(const ModeRecord* mode, const ModeValue& value) {
  return reinterpret_cast<const WCHAR*>(reinterpret_cast<const BYTE*>(mode) + value.Field);
}

const ModeValue* FindModeValue(LPCWSTR name) {
  for (const ModeValue& value : MODE_VALUES)
    if (wcscmp(value.Name, name) == 0) return &value;
  return nullptr;
}

void SetModeField(ModeRecord* mode, const ModeValue& value, ModeValueSetting setting) {
  if (value.Type == REG_DWORD)
    *ModeNumber(mode, value) = setting.Number;
  else
    StringCchCopyW(ModeText(mode, value), value.Width, setting.Text);
}

// A record of one column of the table; a value named after the key takes
// `keyName` instead.
static ModeRecord ColumnRecord(ModeValueSetting ModeValue::*column, LPCWSTR keyName) {
  ModeRecord mode;
  std::memset(&mode, 0, sizeof mode);
  for (const ModeValue& value : MODE_VALUES)
    SetModeField(&mode, value, value.NamedAfterKey ? ModeValueSetting{0, keyName} : value.*column);
  return mode;
}

ModeRecord LoaderDefaults(LPCWSTR keyName) { return ColumnRecord(&ModeValue::Loaded, keyName); }

ModeRecord ImportStart(LPCWSTR sectionName) { return ColumnRecord(&ModeValue::Imported, sectionName); }

ModeRecord FactoryRecord(int mode) {
  ModeRecord record;
  std::memset(&record, 0, sizeof record);
  for (const ModeValue& value : MODE_VALUES) SetModeField(&record, value, value.Factory[mode - FIRST_MODE]);
  return record;
}
