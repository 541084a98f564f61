// The wave device and the audio system: master volume, registry reload and
// PlaySoundW. The phone's state (volume, reload count, last sound) lives in
// device_state; each call is journalled. In the host window a wave file is
// also heard.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <mmsystem.h>

#include "../device/call_failure.h"
#include "../device/device.h"
#include "../files/files.h"
#include "../kernel/display_choice.h"
#include "../kernel/journal.h"
#include "../text/utf.h"
#include "phone_state.h"
#include "wave_audio.h"

namespace platform {

namespace {

// A phone's sounds are short; a larger file is not read into memory.
constexpr size_t kLargestWaveFile = 16 << 20;

std::string Hex8(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

bool IsWaveFileName(std::u16string_view name) {
  constexpr std::u16string_view kWaveExtension = u".wav";
  return name.size() >= kWaveExtension.size() &&
         FoldName(name.substr(name.size() - kWaveExtension.size())) == FoldName(kWaveExtension);
}

// The bytes of a device file, or nothing when it cannot be read whole.
bool ReadSoundFile(std::u16string_view path, std::string* bytes) {
  return ReadDeviceFile(path, kLargestWaveFile, bytes);
}

// Plays what PlaySoundW names through the host's audio: a wave file of the
// device, or silence for a null sound or SND_PURGE. Other sounds (.wma,
// .mid, aliases, memory) are only journalled. SND_LOOP plays once.
void HearOnHost(LPCWSTR sound, DWORD flags) {
  if (!sound || (flags & SND_PURGE)) {
    StopHostSound();
    return;
  }
  if ((flags & (SND_MEMORY | SND_ALIAS)) || !IsWaveFileName(sound)) return;
  std::string file;
  std::vector<int16_t> samples;
  if (!ReadSoundFile(sound, &file) || !ConvertWaveForHost(file, &samples)) return;
  PlayOnHost(samples, !(flags & SND_ASYNC));
}

}  // namespace

// A fresh phone plays at full volume on both channels.
void SeedWaveDevice() {
  SetDeviceValue(kWaveVolume, std::to_string(0xFFFFFFFFu));
  SetDeviceValue(kAudioUpdates, "0");
}

}  // namespace platform

MMRESULT waveOutSetVolume(HWAVEOUT hwo, DWORD dwVolume) try {
  if (hwo) return MMSYSERR_INVALHANDLE;
  platform::SetDeviceValue(platform::kWaveVolume, std::to_string(dwVolume));
  platform::JournalAppend("waveOutSetVolume " + platform::Hex8(dwVolume));
  return MMSYSERR_NOERROR;
} catch (...) {
  return platform::FailedCall(MMRESULT{MMSYSERR_ERROR});
}

MMRESULT waveOutGetVolume(HWAVEOUT hwo, LPDWORD pdwVolume) try {
  if (hwo) return MMSYSERR_INVALHANDLE;
  if (!pdwVolume) return MMSYSERR_INVALPARAM;
  auto value = platform::DeviceValue(platform::kWaveVolume);
  *pdwVolume = value ? static_cast<DWORD>(std::strtoul(value->c_str(), nullptr, 10)) : 0xFFFFFFFFu;
  return MMSYSERR_NOERROR;
} catch (...) {
  return platform::FailedCall(MMRESULT{MMSYSERR_ERROR});
}

void AudioUpdateFromRegistry() try {
  // One statement, so that programs updating at once lose no count.
  platform::Statement q(platform::DeviceDb(),
                        "INSERT INTO device_state(name, value) VALUES(?, '1') ON CONFLICT(name)"
                        " DO UPDATE SET value = CAST(value AS INTEGER) + 1", platform::Statement::Cached);
  q.Bind(1, std::string(platform::kAudioUpdates)).Run();
  platform::JournalAppend("AudioUpdateFromRegistry");
} catch (...) {
  platform::FailedCall();
}

// Headless, only the record of what was played exists: no audio is opened.
BOOL PlaySoundW(LPCWSTR pszSound, HMODULE, DWORD fdwSound) try {
  // A sound in memory is wave data, not a name.
  const std::string sound =
      !pszSound ? "" : (fdwSound & SND_MEMORY) ? "<memory>" : platform::Utf16ToUtf8(pszSound);
  char flags[16];
  std::snprintf(flags, sizeof flags, "0x%X", fdwSound);
  platform::SetDeviceValue(platform::kLastSound, sound);
  platform::JournalAppend("PlaySoundW \"" + sound + "\" " + flags);
  if (!platform::DisplayIsHeadless()) platform::HearOnHost(pszSound, fdwSound);
  return TRUE;
} catch (...) {
  return platform::FailedCall(FALSE);
}
