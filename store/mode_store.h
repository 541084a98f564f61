// The settings store: its keys and value names under HKEY_LOCAL_MACHINE, and
// the four operations that move one mode between its key and a ModeRecord.
#pragma once

#include "store/mode_record.h"
#include "windows.h"

// Keys, all under HKEY_LOCAL_MACHINE. Mode keys are named "Mode 1" to
// "Mode 5" (and "Mode 0", which the dialog opens without "DefaultMode").
inline constexpr WCHAR STORE_ROOT_KEY[] = u"\\Software\\Microsoft\\Today\\Items\\Selvane";
inline constexpr WCHAR MODE_KEY_FORMAT[] = u"\\Software\\Microsoft\\Today\\Items\\Selvane\\%s";
inline constexpr WCHAR MODE_NUMBER_KEY_FORMAT[] = u"\\Software\\Microsoft\\Today\\Items\\Selvane\\Mode %d";
inline constexpr WCHAR MODE_KEY_NAME_FORMAT[] = u"Mode %d";
inline constexpr WCHAR NOTIFICATIONS_KEY_FORMAT[] = u"\\Software\\Microsoft\\Today\\Items\\Selvane\\%s\\Notifications";
inline constexpr WCHAR NOTIFICATIONS_PREFIX_FORMAT[] =
    u"\\Software\\Microsoft\\Today\\Items\\Selvane\\%s\\Notifications\\";
inline constexpr WCHAR NOTIFICATION_KEY_FORMAT[] =
    u"\\Software\\Microsoft\\Today\\Items\\Selvane\\%s\\Notifications\\%s";

// Values of the root key.
inline constexpr WCHAR INIT_VALUE[] = u"Init";
inline constexpr WCHAR DEFAULT_MODE_VALUE[] = u"DefaultMode";
inline constexpr WCHAR DLL_VALUE[] = u"DLL";
inline constexpr WCHAR TIME_SWITCH_VALUE[] = u"TimeSwitch";
// The Today item's own: the phone time ("YYYY-MM-DD HH:MM:SS", REG_SZ) of
// the last switch it made, from which it catches up on missed switches.
inline constexpr WCHAR LAST_SWITCH_TIME_VALUE[] = u"LastSwitchTime";

// Values of a mode key, one per ModeRecord field.
inline constexpr WCHAR SYSTEM_VOLUME_VALUE[] = u"System Volume";
inline constexpr WCHAR PHONE_VOLUME_VALUE[] = u"Phone Volume";
inline constexpr WCHAR SPEAKER_VOLUME_VALUE[] = u"Speaker Volume";
inline constexpr WCHAR RING_MODE_VALUE[] = u"Ring Mode";
inline constexpr WCHAR RING_TONE_VALUE[] = u"Ring Tone";
inline constexpr WCHAR RADIO_STATE_VALUE[] = u"Radio State";
inline constexpr WCHAR BT_STATE_VALUE[] = u"BT State";
inline constexpr WCHAR HEADSET_STATE_VALUE[] = u"Headset State";
inline constexpr WCHAR MODE_BACK_VALUE[] = u"ModeBack";
inline constexpr WCHAR START_HOUR_VALUE[] = u"StartHour";
inline constexpr WCHAR START_MINUTES_VALUE[] = u"StartMinutes";
inline constexpr WCHAR STOP_HOUR_VALUE[] = u"StopHour";
inline constexpr WCHAR STOP_MINUTES_VALUE[] = u"StopMinutes";
inline constexpr WCHAR AUTO_PICK_UP_VALUE[] = u"AutoPickUp";
inline constexpr WCHAR NB_RING_PICK_UP_VALUE[] = u"NbRingPickUp";
inline constexpr WCHAR SIM_CODE_VALUE[] = u"Sim Code";
inline constexpr WCHAR MODE_NAME_VALUE[] = u"Mode Name";
inline constexpr WCHAR SOUND_VALUE[] = u"Sound";
inline constexpr WCHAR DAYS_VALUE[] = u"Days";
inline constexpr WCHAR OUTLOOK_SWITCH_VALUE[] = u"OutlookSwitch";
inline constexpr WCHAR MODE_BUSY_VALUE[] = u"ModeBusy";
inline constexpr WCHAR CATEGORY_VALUE[] = u"Category";
inline constexpr WCHAR STATUS_VALUE[] = u"Status";
inline constexpr WCHAR OUTLOOK_AUTO_REFRESH_VALUE[] = u"OutlookAutoRefresh";
inline constexpr WCHAR PROGRAM_TO_RUN_VALUE[] = u"ProgramToRun";
inline constexpr WCHAR BRIGHTNESS_VALUE[] = u"BrightNess";
inline constexpr WCHAR AC_BRIGHTNESS_VALUE[] = u"ACBrightNess";
inline constexpr WCHAR BATTERY_TIMEOUT_UNCHECKED_VALUE[] = u"BatteryTimeoutUnchecked";
inline constexpr WCHAR BATTERY_TIMEOUT_VALUE[] = u"BatteryTimeout";
inline constexpr WCHAR BACKLIGHT_ON_TAP_VALUE[] = u"BacklightOnTap";

// Switch times of a mode key that other parties keep: the Today plug-in
// (calendar times) and the timer program (temporary switch).
inline constexpr WCHAR START_HOUR_OUTLOOK_VALUE[] = u"StartHourOutlook";
inline constexpr WCHAR START_MINUTES_OUTLOOK_VALUE[] = u"StartMinutesOutlook";
inline constexpr WCHAR STOP_HOUR_OUTLOOK_VALUE[] = u"StopHourOutlook";
inline constexpr WCHAR STOP_MINUTES_OUTLOOK_VALUE[] = u"StopMinutesOutlook";
inline constexpr WCHAR STOP_HOUR_TEMP_VALUE[] = u"StopHourTemp";
inline constexpr WCHAR STOP_MINUTES_TEMP_VALUE[] = u"StopMinutesTemp";
inline constexpr WCHAR MODE_BACK_TEMP_VALUE[] = u"ModeBackTemp";

// Values of a notification entry's key.
inline constexpr WCHAR NOTIFICATION_OPTIONS_VALUE[] = u"Options";
inline constexpr WCHAR NOTIFICATION_DURATION_VALUE[] = u"Duration";
inline constexpr WCHAR NOTIFICATION_WAVE_VALUE[] = u"Wave";

// The phone's backlight key (HKEY_CURRENT_USER, opened, never created) and
// the two on/off values that saving a mode sets.
inline constexpr WCHAR BACKLIGHT_KEY[] = u"\\ControlPanel\\BackLight";
inline constexpr WCHAR ON_OFF_BATT_VALUE[] = u"OnOffBatt";
inline constexpr WCHAR ON_OFF_AC_VALUE[] = u"OnOffAC";

// Loads mode `keyName` ("Mode 3"). Never fails: a missing key is created
// with every default, a missing value is written back with its default. A
// stored text longer than its field is cut to fit, never replaced.
ModeRecord LoadMode(LPCWSTR keyName);

// Writes all thirty values, creating the key when missing, and sets the
// phone's "OnOffBatt" and "OnOffAC" from the two brightness levels. Returns 0.
int SaveMode(LPCWSTR keyName, ModeRecord mode);

// Writes the thirty values only into a key that exists already. Returns 0.
int SaveExistingMode(LPCWSTR keyName, ModeRecord mode);

// Writes "Mode Name" (the whole text), creating the key when missing. Returns 0.
int WriteModeName(LPCWSTR keyName, LPCWSTR name);
