// One mode in memory: thirty fields in a fixed layout, copied and passed by
// value. Text fields are fixed-width UTF-16 arrays holding terminated text.
#pragma once

#include <windows.h>

#include "product/product_manifest.h"

// Widths of the text fields in units, terminator included.
#define RING_MODE_WIDTH 25
#define RING_TONE_WIDTH 150
#define SIM_CODE_WIDTH 9
#define MODE_NAME_WIDTH 50
#define CATEGORY_WIDTH 100

// The sound classes of "Sound", one bit each.
#define SOUND_EVENTS 4
#define SOUND_PROGRAMS 2
#define SOUND_NOTIFS 1
#define PROGRAM_TO_RUN_WIDTH 250

// Values of a field with a meaning of their own.
#define STATUS_ANY 4       // "Status": an appointment of any status matches
#define ALL_DAYS 0x1111111  // "Days": every day of the week ticked
// "Category": an appointment of any category matches.
inline constexpr WCHAR CATEGORY_ANY[] = TEXT("N/A");
// The ring tone of a new mode and of every factory mode.
inline constexpr WCHAR DEFAULT_RING_TONE[] = TEXT(PRODUCT_RING_TONE);

struct ModeRecord {
  DWORD SystemVolume;   // 0 (mute) to 5
  DWORD PhoneVolume;    // 0 to 5
  DWORD SpeakerVolume;  // 0 to 5
  WCHAR RingMode[RING_MODE_WIDTH];  // ring-pattern script
  WCHAR RingTone[RING_TONE_WIDTH];  // ring tone file name; empty = leave the phone's
  DWORD RadioState;
  DWORD BTState;
  DWORD HeadsetState;
  DWORD StartHour;  // StartHour = StartMinutes = 0: no daily start
  DWORD StartMinutes;
  DWORD StopHour;  // StopHour = StopMinutes = 0: no daily stop
  DWORD StopMinutes;
  DWORD ModeBack;  // mode (1 to 5) switched to at the daily stop
  DWORD AutoPickUp;
  DWORD NbRingPickUp;
  WCHAR SimCode[SIM_CODE_WIDTH];  // PIN offered when the radio comes on; empty = none
  WCHAR ModeName[MODE_NAME_WIDTH];
  DWORD Sound;  // the sound classes on (SOUND_EVENTS, ...)
  DWORD Days;   // one hexadecimal digit per day, Monday 0x1000000 ... Sunday 0x1
  DWORD OutlookSwitch;
  DWORD OutlookAutoRefresh;
  DWORD ModeBusy;
  DWORD Status;  // 0 free, 1 tentative, 2 busy, 3 out of office, STATUS_ANY
  WCHAR Category[CATEGORY_WIDTH];  // CATEGORY_ANY = any category
  WCHAR ProgramToRun[PROGRAM_TO_RUN_WIDTH];
  DWORD BrightNess;    // backlight on battery, 0 to 10
  DWORD ACBrightNess;  // backlight on external power, 0 to 10
  DWORD BatteryTimeoutUnchecked;
  DWORD BatteryTimeout;
  DWORD BacklightOnTap;
};
