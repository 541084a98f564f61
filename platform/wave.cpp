// The wave device and the audio system: master volume, registry reload and
// PlaySoundW. The phone's state (volume, reload count, last sound) lives in
// device_state; each call is journalled.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "device.h"
#include "journal.h"
#include "mmsystem.h"
#include "phone_state.h"
#include "wintext_utf.h"

namespace platform {

namespace {

std::string Hex8(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

}  // namespace

// A fresh phone plays at full volume on both channels.
void SeedWaveDevice() {
  SetDeviceValue(kWaveVolume, std::to_string(0xFFFFFFFFu));
  SetDeviceValue(kAudioUpdates, "0");
}

}  // namespace platform

MMRESULT waveOutSetVolume(HWAVEOUT hwo, DWORD dwVolume) {
  if (hwo) return MMSYSERR_INVALHANDLE;
  platform::SetDeviceValue(platform::kWaveVolume, std::to_string(dwVolume));
  platform::JournalAppend("waveOutSetVolume " + platform::Hex8(dwVolume));
  return MMSYSERR_NOERROR;
}

MMRESULT waveOutGetVolume(HWAVEOUT hwo, LPDWORD pdwVolume) {
  if (hwo) return MMSYSERR_INVALHANDLE;
  if (!pdwVolume) return MMSYSERR_INVALPARAM;
  auto value = platform::DeviceValue(platform::kWaveVolume);
  *pdwVolume = value ? static_cast<DWORD>(std::strtoul(value->c_str(), nullptr, 10)) : 0xFFFFFFFFu;
  return MMSYSERR_NOERROR;
}

void AudioUpdateFromRegistry() {
  // One statement, so that programs updating at once lose no count.
  platform::Statement q(platform::DeviceDb(),
                        "INSERT INTO device_state(name, value) VALUES(?, '1') ON CONFLICT(name)"
                        " DO UPDATE SET value = CAST(value AS INTEGER) + 1");
  q.Bind(1, std::string(platform::kAudioUpdates)).Run();
  platform::JournalAppend("AudioUpdateFromRegistry");
}

// Only the record of what was played exists yet: no sound reaches the host.
BOOL PlaySoundW(LPCWSTR pszSound, HMODULE, DWORD fdwSound) {
  // A sound in memory is wave data, not a name.
  const std::string sound =
      !pszSound ? "" : (fdwSound & SND_MEMORY) ? "<memory>" : platform::Utf16ToUtf8(pszSound);
  char flags[16];
  std::snprintf(flags, sizeof flags, "0x%X", fdwSound);
  platform::SetDeviceValue(platform::kLastSound, sound);
  platform::JournalAppend("PlaySoundW \"" + sound + "\" " + flags);
  return TRUE;
}
