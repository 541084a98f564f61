// The settings store: its keys and value names under HKEY_LOCAL_MACHINE, and
// the four operations that move one mode between its key and a ModeRecord.
#pragma once

#include <windows.h>

#include "product/product_manifest.h"
#include "store/mode_record.h"

// Keys, all under HKEY_LOCAL_MACHINE. Mode keys are named "Mode 1" to
// "Mode 5" (and "Mode 0", which the dialog opens without "DefaultMode").
inline constexpr WCHAR STORE_ROOT_KEY[] = TEXT(PRODUCT_ROOT_KEY);
inline constexpr WCHAR MODE_KEY_FORMAT[] = TEXT(PRODUCT_ROOT_KEY "\\%s");
inline constexpr WCHAR MODE_NUMBER_KEY_FORMAT[] = TEXT(PRODUCT_ROOT_KEY "\\Mode %d");
inline constexpr WCHAR MODE_KEY_NAME_FORMAT[] = TEXT("Mode %d");
inline constexpr WCHAR NOTIFICATIONS_KEY_FORMAT[] = TEXT(PRODUCT_ROOT_KEY "\\%s\\Notifications");
inline constexpr WCHAR NOTIFICATIONS_PREFIX_FORMAT[] = TEXT(PRODUCT_ROOT_KEY "\\%s\\Notifications\\");
inline constexpr WCHAR NOTIFICATION_KEY_FORMAT[] = TEXT(PRODUCT_ROOT_KEY "\\%s\\Notifications\\%s");

// Values of the root key.
inline constexpr WCHAR INIT_VALUE[] = TEXT("Init");
inline constexpr WCHAR DEFAULT_MODE_VALUE[] = TEXT("DefaultMode");
inline constexpr WCHAR DLL_VALUE[] = TEXT("DLL");
inline constexpr WCHAR TIME_SWITCH_VALUE[] = TEXT("TimeSwitch");
// The Today item's own: the phone time ("YYYY-MM-DD HH:MM:SS", REG_SZ) of
// the last switch it made, from which it catches up on missed switches.
inline constexpr WCHAR LAST_SWITCH_TIME_VALUE[] = TEXT("LastSwitchTime");

// Values of a mode key, one per ModeRecord field.
inline constexpr WCHAR SYSTEM_VOLUME_VALUE[] = TEXT("System Volume");
inline constexpr WCHAR PHONE_VOLUME_VALUE[] = TEXT("Phone Volume");
inline constexpr WCHAR SPEAKER_VOLUME_VALUE[] = TEXT("Speaker Volume");
inline constexpr WCHAR RING_MODE_VALUE[] = TEXT("Ring Mode");
inline constexpr WCHAR RING_TONE_VALUE[] = TEXT("Ring Tone");
inline constexpr WCHAR RADIO_STATE_VALUE[] = TEXT("Radio State");
inline constexpr WCHAR BT_STATE_VALUE[] = TEXT("BT State");
inline constexpr WCHAR HEADSET_STATE_VALUE[] = TEXT("Headset State");
inline constexpr WCHAR MODE_BACK_VALUE[] = TEXT("ModeBack");
inline constexpr WCHAR START_HOUR_VALUE[] = TEXT("StartHour");
inline constexpr WCHAR START_MINUTES_VALUE[] = TEXT("StartMinutes");
inline constexpr WCHAR STOP_HOUR_VALUE[] = TEXT("StopHour");
inline constexpr WCHAR STOP_MINUTES_VALUE[] = TEXT("StopMinutes");
inline constexpr WCHAR AUTO_PICK_UP_VALUE[] = TEXT("AutoPickUp");
inline constexpr WCHAR NB_RING_PICK_UP_VALUE[] = TEXT("NbRingPickUp");
// The rings before an automatic answer, where a mode sets none.
#define NB_RING_PICK_UP_DEFAULT 3
inline constexpr WCHAR SIM_CODE_VALUE[] = TEXT("Sim Code");
inline constexpr WCHAR MODE_NAME_VALUE[] = TEXT("Mode Name");
inline constexpr WCHAR SOUND_VALUE[] = TEXT("Sound");
inline constexpr WCHAR DAYS_VALUE[] = TEXT("Days");
inline constexpr WCHAR OUTLOOK_SWITCH_VALUE[] = TEXT("OutlookSwitch");
inline constexpr WCHAR MODE_BUSY_VALUE[] = TEXT("ModeBusy");
inline constexpr WCHAR CATEGORY_VALUE[] = TEXT("Category");
inline constexpr WCHAR STATUS_VALUE[] = TEXT("Status");
inline constexpr WCHAR OUTLOOK_AUTO_REFRESH_VALUE[] = TEXT("OutlookAutoRefresh");
inline constexpr WCHAR PROGRAM_TO_RUN_VALUE[] = TEXT("ProgramToRun");
inline constexpr WCHAR BRIGHTNESS_VALUE[] = TEXT("BrightNess");
inline constexpr WCHAR AC_BRIGHTNESS_VALUE[] = TEXT("ACBrightNess");
inline constexpr WCHAR BATTERY_TIMEOUT_UNCHECKED_VALUE[] = TEXT("BatteryTimeoutUnchecked");
inline constexpr WCHAR BATTERY_TIMEOUT_VALUE[] = TEXT("BatteryTimeout");
inline constexpr WCHAR BACKLIGHT_ON_TAP_VALUE[] = TEXT("BacklightOnTap");

// Switch times of a mode key that other parties keep: the Today plug-in
// (calendar times) and the timer program (temporary switch).
inline constexpr WCHAR START_HOUR_OUTLOOK_VALUE[] = TEXT("StartHourOutlook");
inline constexpr WCHAR START_MINUTES_OUTLOOK_VALUE[] = TEXT("StartMinutesOutlook");
inline constexpr WCHAR STOP_HOUR_OUTLOOK_VALUE[] = TEXT("StopHourOutlook");
inline constexpr WCHAR STOP_MINUTES_OUTLOOK_VALUE[] = TEXT("StopMinutesOutlook");
inline constexpr WCHAR STOP_HOUR_TEMP_VALUE[] = TEXT("StopHourTemp");
inline constexpr WCHAR STOP_MINUTES_TEMP_VALUE[] = TEXT("StopMinutesTemp");
inline constexpr WCHAR MODE_BACK_TEMP_VALUE[] = TEXT("ModeBackTemp");

// Values of a notification entry's key.
inline constexpr WCHAR NOTIFICATION_OPTIONS_VALUE[] = TEXT("Options");
inline constexpr WCHAR NOTIFICATION_DURATION_VALUE[] = TEXT("Duration");
inline constexpr WCHAR NOTIFICATION_WAVE_VALUE[] = TEXT("Wave");

// The phone's backlight key (HKEY_CURRENT_USER, opened, never created) and
// the two on/off values that saving a mode sets.
inline constexpr WCHAR BACKLIGHT_KEY[] = TEXT("\\ControlPanel\\BackLight");
inline constexpr WCHAR ON_OFF_BATT_VALUE[] = TEXT("OnOffBatt");
inline constexpr WCHAR ON_OFF_AC_VALUE[] = TEXT("OnOffAC");

// Loads mode `keyName` ("Mode 3"). Never fails: a missing key is created
// with every default, a missing value is written back with its default. A
// stored text longer than its field is cut to fit, never replaced.
ModeRecord LoadMode(LPCWSTR keyName);

// Within a whole-record save of the mode (BeginRecordSave) the three savers
// below write into its scratch key; the phone's backlight values are the
// phone's own and are set at once all the same.

// Writes all thirty values, creating the key when missing, and sets the
// phone's "OnOffBatt" and "OnOffAC" from the two brightness levels. Returns 0.
int SaveMode(LPCWSTR keyName, ModeRecord mode);

// Writes the thirty values only into a key that exists already. Returns 0.
int SaveExistingMode(LPCWSTR keyName, ModeRecord mode);

// Writes "Mode Name" (the whole text), creating the key when missing. Returns 0.
int WriteModeName(LPCWSTR keyName, LPCWSTR name);
