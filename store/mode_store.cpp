// Loading and saving one mode between its key in the settings store and a
// ModeRecord: the loader repairs the store, the savers write every value.
#include "store/mode_store.h"

#include <cstring>
#include <vector>

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

// The loader's default of every value; "Mode Name" defaults to the key name.
ModeRecord DefaultMode(LPCWSTR keyName) {
  ModeRecord mode;
  std::memset(&mode, 0, sizeof mode);
  mode.SystemVolume = 3;
  mode.PhoneVolume = 3;
  mode.SpeakerVolume = 3;
  StringCchCopyW(mode.RingMode, RING_MODE_WIDTH, u"ap");
  StringCchCopyW(mode.RingTone, RING_TONE_WIDTH, u"BellDitty .wma");
  mode.RadioState = 1;
  mode.BTState = 0;
  mode.HeadsetState = 0;
  mode.StartHour = 0;
  mode.StartMinutes = 0;
  mode.StopHour = 0;
  mode.StopMinutes = 0;
  mode.ModeBack = 1;
  mode.AutoPickUp = 0;
  mode.NbRingPickUp = 3;
  StringCchCopyW(mode.SimCode, SIM_CODE_WIDTH, u"");
  StringCchCopyW(mode.ModeName, MODE_NAME_WIDTH, keyName);
  mode.Sound = 7;
  mode.Days = 0x1111111;
  mode.OutlookSwitch = 0;
  mode.OutlookAutoRefresh = 0;
  mode.ModeBusy = 0;
  mode.Status = 0;
  StringCchCopyW(mode.Category, CATEGORY_WIDTH, u"Business");
  StringCchCopyW(mode.ProgramToRun, PROGRAM_TO_RUN_WIDTH, u"");
  mode.BrightNess = 8;
  mode.ACBrightNess = 10;
  mode.BatteryTimeoutUnchecked = 180;
  mode.BatteryTimeout = 0;
  mode.BacklightOnTap = 1;
  return mode;
}

// The mode key's full path, from MODE_KEY_FORMAT.
void ModeKeyPath(LPCWSTR keyName, WCHAR* path) { wsprintfW(path, MODE_KEY_FORMAT, keyName); }

HKEY OpenModeKey(LPCWSTR keyName) {
  WCHAR path[WSPRINTF_MAX_OUTPUT];
  ModeKeyPath(keyName, path);
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &key) != ERROR_SUCCESS) return nullptr;
  return key;
}

// Opens the mode key, creating it when missing; null when neither works.
HKEY OpenOrCreateModeKey(LPCWSTR keyName) {
  HKEY key = OpenModeKey(keyName);
  if (key) return key;
  WCHAR path[WSPRINTF_MAX_OUTPUT];
  ModeKeyPath(keyName, path);
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

// The thirty values in the savers' order; with `phoneBacklight`, each
// brightness is followed by the phone's matching on/off value.
void WriteModeValues(HKEY key, const ModeRecord& mode, bool phoneBacklight) {
  WriteDwordValue(key, SYSTEM_VOLUME_VALUE, mode.SystemVolume);
  WriteDwordValue(key, PHONE_VOLUME_VALUE, mode.PhoneVolume);
  WriteDwordValue(key, SPEAKER_VOLUME_VALUE, mode.SpeakerVolume);
  WriteTextValue(key, RING_MODE_VALUE, mode.RingMode, RING_MODE_WIDTH);
  WriteTextValue(key, RING_TONE_VALUE, mode.RingTone, RING_TONE_WIDTH);
  WriteDwordValue(key, RADIO_STATE_VALUE, mode.RadioState);
  WriteDwordValue(key, BT_STATE_VALUE, mode.BTState);
  WriteDwordValue(key, HEADSET_STATE_VALUE, mode.HeadsetState);
  WriteDwordValue(key, MODE_BACK_VALUE, mode.ModeBack);
  WriteDwordValue(key, START_HOUR_VALUE, mode.StartHour);
  WriteDwordValue(key, START_MINUTES_VALUE, mode.StartMinutes);
  WriteDwordValue(key, STOP_HOUR_VALUE, mode.StopHour);
  WriteDwordValue(key, STOP_MINUTES_VALUE, mode.StopMinutes);
  WriteDwordValue(key, AUTO_PICK_UP_VALUE, mode.AutoPickUp);
  WriteDwordValue(key, NB_RING_PICK_UP_VALUE, mode.NbRingPickUp);
  WriteTextValue(key, SIM_CODE_VALUE, mode.SimCode, SIM_CODE_WIDTH);
  WriteTextValue(key, MODE_NAME_VALUE, mode.ModeName, MODE_NAME_WIDTH);
  WriteDwordValue(key, SOUND_VALUE, mode.Sound);
  WriteDwordValue(key, DAYS_VALUE, mode.Days);
  WriteDwordValue(key, OUTLOOK_SWITCH_VALUE, mode.OutlookSwitch);
  WriteDwordValue(key, MODE_BUSY_VALUE, mode.ModeBusy);
  WriteTextValue(key, CATEGORY_VALUE, mode.Category, CATEGORY_WIDTH);
  WriteDwordValue(key, STATUS_VALUE, mode.Status);
  WriteDwordValue(key, OUTLOOK_AUTO_REFRESH_VALUE, mode.OutlookAutoRefresh);
  WriteTextValue(key, PROGRAM_TO_RUN_VALUE, mode.ProgramToRun, PROGRAM_TO_RUN_WIDTH);
  WriteDwordValue(key, BRIGHTNESS_VALUE, mode.BrightNess);
  if (phoneBacklight) WriteBacklightSwitch(ON_OFF_BATT_VALUE, mode.BrightNess);
  WriteDwordValue(key, AC_BRIGHTNESS_VALUE, mode.ACBrightNess);
  if (phoneBacklight) WriteBacklightSwitch(ON_OFF_AC_VALUE, mode.ACBrightNess);
  WriteDwordValue(key, BATTERY_TIMEOUT_UNCHECKED_VALUE, mode.BatteryTimeoutUnchecked);
  WriteDwordValue(key, BATTERY_TIMEOUT_VALUE, mode.BatteryTimeout);
  WriteDwordValue(key, BACKLIGHT_ON_TAP_VALUE, mode.BacklightOnTap);
}

}  // namespace

ModeRecord LoadMode(LPCWSTR keyName) {
  ModeRecord mode = DefaultMode(keyName);
  HKEY key = OpenModeKey(keyName);
  if (!key) {
    WCHAR path[WSPRINTF_MAX_OUTPUT];
    ModeKeyPath(keyName, path);
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
      WriteModeValues(key, mode, false);
      RegCloseKey(key);
    }
    return mode;
  }
  // Each value on its own: a key that lacks some values gets exactly those.
  LoadDword(key, SYSTEM_VOLUME_VALUE, &mode.SystemVolume);
  LoadDword(key, PHONE_VOLUME_VALUE, &mode.PhoneVolume);
  LoadDword(key, SPEAKER_VOLUME_VALUE, &mode.SpeakerVolume);
  LoadText(key, RING_MODE_VALUE, mode.RingMode, RING_MODE_WIDTH);
  LoadText(key, RING_TONE_VALUE, mode.RingTone, RING_TONE_WIDTH);
  LoadDword(key, RADIO_STATE_VALUE, &mode.RadioState);
  LoadDword(key, BT_STATE_VALUE, &mode.BTState);
  LoadDword(key, HEADSET_STATE_VALUE, &mode.HeadsetState);
  LoadDword(key, START_HOUR_VALUE, &mode.StartHour);
  LoadDword(key, START_MINUTES_VALUE, &mode.StartMinutes);
  LoadDword(key, STOP_HOUR_VALUE, &mode.StopHour);
  LoadDword(key, STOP_MINUTES_VALUE, &mode.StopMinutes);
  LoadDword(key, MODE_BACK_VALUE, &mode.ModeBack);
  LoadDword(key, AUTO_PICK_UP_VALUE, &mode.AutoPickUp);
  LoadDword(key, NB_RING_PICK_UP_VALUE, &mode.NbRingPickUp);
  LoadText(key, SIM_CODE_VALUE, mode.SimCode, SIM_CODE_WIDTH);
  LoadText(key, MODE_NAME_VALUE, mode.ModeName, MODE_NAME_WIDTH);
  LoadDword(key, SOUND_VALUE, &mode.Sound);
  LoadDword(key, DAYS_VALUE, &mode.Days);
  LoadDword(key, OUTLOOK_SWITCH_VALUE, &mode.OutlookSwitch);
  LoadDword(key, OUTLOOK_AUTO_REFRESH_VALUE, &mode.OutlookAutoRefresh);
  LoadDword(key, MODE_BUSY_VALUE, &mode.ModeBusy);
  LoadDword(key, STATUS_VALUE, &mode.Status);
  LoadText(key, CATEGORY_VALUE, mode.Category, CATEGORY_WIDTH);
  LoadText(key, PROGRAM_TO_RUN_VALUE, mode.ProgramToRun, PROGRAM_TO_RUN_WIDTH);
  LoadDword(key, BRIGHTNESS_VALUE, &mode.BrightNess);
  LoadDword(key, AC_BRIGHTNESS_VALUE, &mode.ACBrightNess);
  LoadDword(key, BATTERY_TIMEOUT_UNCHECKED_VALUE, &mode.BatteryTimeoutUnchecked);
  LoadDword(key, BATTERY_TIMEOUT_VALUE, &mode.BatteryTimeout);
  LoadDword(key, BACKLIGHT_ON_TAP_VALUE, &mode.BacklightOnTap);
  RegCloseKey(key);
  return mode;
}

int SaveMode(LPCWSTR keyName, ModeRecord mode) {
  HKEY key = OpenOrCreateModeKey(keyName);
  if (!key) return 0;
  WriteModeValues(key, mode, true);
  RegCloseKey(key);
  return 0;
}

int SaveExistingMode(LPCWSTR keyName, ModeRecord mode) {
  HKEY key = OpenModeKey(keyName);
  if (!key) return 0;
  // The order of SaveMode, except that "ModeBack" follows the stop time.
  WriteDwordValue(key, SYSTEM_VOLUME_VALUE, mode.SystemVolume);
  WriteDwordValue(key, PHONE_VOLUME_VALUE, mode.PhoneVolume);
  WriteDwordValue(key, SPEAKER_VOLUME_VALUE, mode.SpeakerVolume);
  WriteTextValue(key, RING_MODE_VALUE, mode.RingMode, RING_MODE_WIDTH);
  WriteTextValue(key, RING_TONE_VALUE, mode.RingTone, RING_TONE_WIDTH);
  WriteDwordValue(key, RADIO_STATE_VALUE, mode.RadioState);
  WriteDwordValue(key, BT_STATE_VALUE, mode.BTState);
  WriteDwordValue(key, HEADSET_STATE_VALUE, mode.HeadsetState);
  WriteDwordValue(key, START_HOUR_VALUE, mode.StartHour);
  WriteDwordValue(key, START_MINUTES_VALUE, mode.StartMinutes);
  WriteDwordValue(key, STOP_HOUR_VALUE, mode.StopHour);
  WriteDwordValue(key, STOP_MINUTES_VALUE, mode.StopMinutes);
  WriteDwordValue(key, MODE_BACK_VALUE, mode.ModeBack);
  WriteDwordValue(key, AUTO_PICK_UP_VALUE, mode.AutoPickUp);
  WriteDwordValue(key, NB_RING_PICK_UP_VALUE, mode.NbRingPickUp);
  WriteTextValue(key, SIM_CODE_VALUE, mode.SimCode, SIM_CODE_WIDTH);
  WriteTextValue(key, MODE_NAME_VALUE, mode.ModeName, MODE_NAME_WIDTH);
  WriteDwordValue(key, SOUND_VALUE, mode.Sound);
  WriteDwordValue(key, DAYS_VALUE, mode.Days);
  WriteDwordValue(key, OUTLOOK_SWITCH_VALUE, mode.OutlookSwitch);
  WriteDwordValue(key, MODE_BUSY_VALUE, mode.ModeBusy);
  WriteTextValue(key, CATEGORY_VALUE, mode.Category, CATEGORY_WIDTH);
  WriteDwordValue(key, STATUS_VALUE, mode.Status);
  WriteDwordValue(key, OUTLOOK_AUTO_REFRESH_VALUE, mode.OutlookAutoRefresh);
  WriteTextValue(key, PROGRAM_TO_RUN_VALUE, mode.ProgramToRun, PROGRAM_TO_RUN_WIDTH);
  WriteDwordValue(key, BRIGHTNESS_VALUE, mode.BrightNess);
  WriteDwordValue(key, AC_BRIGHTNESS_VALUE, mode.ACBrightNess);
  WriteDwordValue(key, BATTERY_TIMEOUT_UNCHECKED_VALUE, mode.BatteryTimeoutUnchecked);
  WriteDwordValue(key, BATTERY_TIMEOUT_VALUE, mode.BatteryTimeout);
  WriteDwordValue(key, BACKLIGHT_ON_TAP_VALUE, mode.BacklightOnTap);
  RegCloseKey(key);
  return 0;
}

int WriteModeName(LPCWSTR keyName, LPCWSTR name) {
  HKEY key = OpenOrCreateModeKey(keyName);
  if (!key) return 0;
  RegSetValueExW(key, MODE_NAME_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(name),
                 static_cast<DWORD>((wcslen(name) + 1) * sizeof(WCHAR)));
  RegCloseKey(key);
  return 0;
}
