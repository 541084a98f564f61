// The backlight part of a mode on the phone: brightness on battery and on
// external power, the battery time-outs and the tap switch, each followed
// by a signal that tells the phone its backlight settings changed.
#pragma once

#include <windows.h>

// The phone's backlight key is BACKLIGHT_KEY; its values carry the mode
// values' names ("BrightNess", "ACBrightNess", ...), see store/mode_store.h.
inline constexpr WCHAR BACKLIGHT_CHANGE_EVENT[] = TEXT("BackLightChangeEvent");

// Each setter takes the apply's context (unused) and the mode's value,
// writes it as it is, signals the change (also when the key is missing)
// and returns 0.
int SetBrightness(void* context, DWORD value);
int SetACBrightness(void* context, DWORD value);
int SetBatteryTimeout(void* context, DWORD value);
int SetBatteryTimeoutUnchecked(void* context, DWORD value);
int SetBacklightOnTap(void* context, DWORD value);

// Sets the event "BackLightChangeEvent" once, if it can be created.
void SignalBacklightChange();
