// The audible part of a mode on the phone: wave volume, ring and phone
// volumes, the ring script and tone, automatic pick-up and the mute flags;
// and the table of ring patterns that the dialog offers.
#pragma once

#include <windows.h>

// The phone's sound keys and values, all under HKEY_CURRENT_USER.
inline constexpr WCHAR VOLUME_KEY[] = TEXT("\\ControlPanel\\Volume");
inline constexpr WCHAR RINGER_VALUE[] = TEXT("Ringer");  // in VOLUME_KEY and PHONE_KEY
inline constexpr WCHAR MUTE_VALUE[] = TEXT("Mute");
inline constexpr WCHAR RING_CATEGORY_KEY[] = TEXT("\\ControlPanel\\SoundCategories\\Ring");
inline constexpr WCHAR INIT_VOL_VALUE[] = TEXT("InitVol");
inline constexpr WCHAR PHONE_KEY[] = TEXT("\\ControlPanel\\Phone");
inline constexpr WCHAR PHONE_VOL_VALUE[] = TEXT("Vol");
inline constexpr WCHAR RING_TONE_KEY[] = TEXT("\\ControlPanel\\Sounds\\RingTone0");
inline constexpr WCHAR RING_SCRIPT_VALUE[] = TEXT("Script");
inline constexpr WCHAR RING_SOUND_VALUE[] = TEXT("Sound");
inline constexpr WCHAR AUTO_PICK_UP_KEY[] = TEXT("\\ControlPanel\\AutoPickUp");
inline constexpr WCHAR PICK_UP_RINGS_VALUE[] = TEXT("Ring");
// "AutoPickUp" in AUTO_PICK_UP_KEY has the mode value's name: AUTO_PICK_UP_VALUE.

// Volume levels run from 0 (mute) to 5 (loud).
#define VOLUME_LEVELS 6

// The values the phone expects for a level; a level outside 0 to 5 gives 0.
DWORD SystemVolumeLevel(DWORD level);
DWORD RingerVolumeLevel(DWORD level);
DWORD PhoneVolumeLevel(DWORD level);

// The ring patterns in the order of the dialog's list; a mode stores the
// script. Scripts go to the phone's ring player, which interprets them.
#define RING_PATTERNS 12

struct RingPattern {
  WCHAR Name[32];
  LPCWSTR Script;  // one of store/ring_scripts.h
};

extern const RingPattern RingPatternTable[RING_PATTERNS];

// Index of the first pattern whose script equals `script` exactly, or -1.
int FindRingPattern(LPCWSTR script);

// The setters take the apply's context first, which they do not use.
// Wave master volume; above 0xFFFF is clamped. -1 when the device refuses.
int SetSystemVolume(void* context, DWORD volume);
// "Ringer" and then the level it stands for as "InitVol". -1 on a failed write.
int SetRingerVolume(void* context, DWORD value);
// "Vol" and "Ringer" of the phone key, then the audio system reloads. 0.
int SetPhoneVolume(void* context, DWORD value);
// The ring script, written as it is (an empty one too). -1 on a failed write.
int SetRingScript(void* context, LPCWSTR script);
// The ring tone; an empty tone leaves the phone's as it is. -1 on a failed write.
int SetRingSound(void* context, LPCWSTR tone);
// "Ring" (the number of rings) before "AutoPickUp" (on/off). 0.
int SetAutoPickUp(void* context, DWORD autoPickUp, DWORD rings);
// The sound classes' bits as "Mute", then the audio system reloads. 0.
int SetSoundMute(void* context, DWORD sound);
