// Sound setters: each writes the phone's own sound values (or calls the
// wave device) for one part of a mode, and the ring-pattern table.
#include "phone/sound_settings.h"

#include <windows.h>
#include <mmsystem.h>

#include "phone/phone_registry.h"
#include "store/mode_store.h"
#include "store/ring_scripts.h"

// Three separate tables: the phone's level 0 is not silent (0x1111).
static const DWORD SystemVolumeTable[VOLUME_LEVELS] = {0x0000, 0x3333, 0x6666, 0x9999, 0xCCCC, 0xFFFF};
static const DWORD RingerVolumeTable[VOLUME_LEVELS] = {0x00000000, 0x33333333, 0x66666666,
                                                       0x99999999, 0xCCCCCCCC, 0xFFFFFFFF};
static const DWORD PhoneVolumeTable[VOLUME_LEVELS] = {0x1111, 0x3333, 0x6666, 0x9999, 0xCCCC, 0xFFFF};

const RingPattern RingPatternTable[RING_PATTERNS] = {
    {TEXT("Display"), RING_DISPLAY},
    {TEXT("Flash"), RING_FLASH},
    {TEXT("Ring"), RING_RING},
    {TEXT("Ring Once"), RING_ONCE},
    {TEXT("Increasing Ring"), RING_INCREASING},
    {TEXT("Vibrate Then Ring"), RING_VIBRATE_THEN_RING},
    {TEXT("Vibrate"), RING_VIBRATE},
    {TEXT("Short Vibrate"), RING_SHORT_VIBRATE},
    {TEXT("Vibrate Long Then Ring"), RING_VIBRATE_LONG_THEN_RING},
    {TEXT("Vibrate And Ring"), RING_VIBRATE_AND_RING},
    {TEXT("Increasing Ring And Vibrate"), RING_INCREASING_AND_VIBRATE},
    {TEXT("Fast Vibrate And Flash"), RING_FAST_VIBRATE_AND_FLASH},
};

DWORD SystemVolumeLevel(DWORD level) { return level < VOLUME_LEVELS ? SystemVolumeTable[level] : 0; }
DWORD RingerVolumeLevel(DWORD level) { return level < VOLUME_LEVELS ? RingerVolumeTable[level] : 0; }
DWORD PhoneVolumeLevel(DWORD level) { return level < VOLUME_LEVELS ? PhoneVolumeTable[level] : 0; }

int FindRingPattern(LPCWSTR script) {
  if (!script) return -1;
  for (int i = 0; i < RING_PATTERNS; ++i)
    if (wcscmp(RingPatternTable[i].Script, script) == 0) return i;
  return -1;
}

// The level (0 to 5) a "Ringer" value stands for; any other value is 0.
static DWORD RingerLevelOf(DWORD value) {
  for (DWORD level = 0; level < VOLUME_LEVELS; ++level)
    if (RingerVolumeTable[level] == value) return level;
  return 0;
}

int SetSystemVolume(void*, DWORD volume) {
  if (volume > 0xFFFF) volume = 0xFFFF;
  // Any refusal of the device counts as a failure, not only MMSYSERR_ERROR.
  return waveOutSetVolume(nullptr, volume & 0xFFFF) == MMSYSERR_NOERROR ? 0 : -1;
}

int SetRingerVolume(void*, DWORD value) {
  // A missing volume key does not keep "InitVol" from being written.
  if (WritePhoneDword(VOLUME_KEY, RINGER_VALUE, value) == PHONE_WRITE_FAILED) return -1;
  if (WritePhoneDword(RING_CATEGORY_KEY, INIT_VOL_VALUE, RingerLevelOf(value)) == PHONE_WRITE_FAILED) return -1;
  return 0;
}

int SetPhoneVolume(void*, DWORD value) {
  WritePhoneDword(PHONE_KEY, PHONE_VOL_VALUE, value);
  WritePhoneDword(PHONE_KEY, RINGER_VALUE, value);
  AudioUpdateFromRegistry();
  return 0;
}

int SetRingScript(void*, LPCWSTR script) {
  return WritePhoneText(RING_TONE_KEY, RING_SCRIPT_VALUE, script ? script : TEXT("")) == PHONE_WRITE_FAILED ? -1 : 0;
}

int SetRingSound(void*, LPCWSTR tone) {
  if (!tone || !*tone) return 0;
  return WritePhoneText(RING_TONE_KEY, RING_SOUND_VALUE, tone) == PHONE_WRITE_FAILED ? -1 : 0;
}

int SetAutoPickUp(void*, DWORD autoPickUp, DWORD rings) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, AUTO_PICK_UP_KEY, 0, 0, &key) != ERROR_SUCCESS) return 0;
  WriteOpenDword(key, PICK_UP_RINGS_VALUE, rings);
  WriteOpenDword(key, AUTO_PICK_UP_VALUE, autoPickUp);
  RegCloseKey(key);
  return 0;
}

int SetSoundMute(void*, DWORD sound) {
  WritePhoneDword(VOLUME_KEY, MUTE_VALUE, sound);
  AudioUpdateFromRegistry();
  return 0;
}
