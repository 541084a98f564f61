// The phone's sound: the wave device's volume (a null handle is the device
// itself on the phone), the audio system's reload of its registry settings,
// and sounds played, each recorded in the hardware key and journalled.
#include <cstdio>

#include <wince_core.h>

#include "desktop_calls.h"
#include "phone_hardware.h"

namespace {

const WCHAR kWaveVolume[] = L"WaveVolume";
const WCHAR kAudioUpdates[] = L"AudioUpdates";
const WCHAR kLastSound[] = L"LastSound";

}  // namespace

MMRESULT PhoneWaveOutSetVolume(HWAVEOUT device, DWORD volume) {
  if (device) return waveOutSetVolume(device, volume);
  ce_layer::SetPhoneDword(nullptr, kWaveVolume, volume);
  ce_layer::JournalAppend("waveOutSetVolume " + ce_layer::Hex8(volume));
  return MMSYSERR_NOERROR;
}

void AudioUpdateFromRegistry() {
  ce_layer::CountPhoneDword(nullptr, kAudioUpdates);
  ce_layer::JournalAppend("AudioUpdateFromRegistry");
}

BOOL PhonePlaySoundW(LPCWSTR sound, HMODULE module, DWORD flags) {
  // A sound in memory is wave data, not a name.
  const std::string name = !sound ? "" : (flags & SND_MEMORY) ? "<memory>" : ce_layer::ToUtf8(sound);
  char flagText[16];
  std::snprintf(flagText, sizeof flagText, "0x%X", static_cast<unsigned>(flags));
  ce_layer::SetPhoneText(nullptr, kLastSound, ce_layer::FromUtf8(name));
  ce_layer::JournalAppend("PlaySoundW \"" + name + "\" " + flagText);
  // A computer without an audio device plays nothing; the phone's call
  // still took the sound.
  PlaySoundW(sound, module, flags);
  return TRUE;
}

void PhoneKeybdEvent(BYTE virtualKey, BYTE scanCode, DWORD flags, ULONG_PTR extraInfo) {
  char text[96];
  std::snprintf(text, sizeof text, "keybd_event 0x%02X %u 0x%X %u", virtualKey, scanCode,
                static_cast<unsigned>(flags), static_cast<unsigned>(extraInfo));
  ce_layer::JournalAppend(text);
  keybd_event(virtualKey, scanCode, flags & ~static_cast<DWORD>(KEYEVENTF_SILENT), extraInfo);
}
