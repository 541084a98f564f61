// Host audio for PlaySoundW in the host window: SDL2 (loaded at the first
// sound) decodes the wave file, resamples it to one output format and plays
// it from a queue.
#include "wave_audio.h"

#include <SDL.h>
#include <dlfcn.h>

#include <cstddef>
#include <mutex>

#include "../display/sdl_library.h"

namespace platform {

namespace {

constexpr SDL_AudioFormat kHostFormat = AUDIO_S16SYS;
constexpr Uint16 kDeviceBufferFrames = 1024;
constexpr Uint32 kDrainPollMs = 10;
constexpr Uint32 kPutFrames = 256;

// The one audio device of the process, opened at the first sound. A host
// without audio is tried once; afterwards sounds are dropped.
struct HostAudio {
  std::mutex mutex;
  bool tried = false;
  SDL_AudioDeviceID device = 0;
};

HostAudio& Audio() {
  static HostAudio audio;
  return audio;
}

void DropAlsaReport(const char*, int, const char*, int, const char*, ...) {}

// ALSA reports a missing sound card on standard error by itself, behind
// SDL's back; a host without sound stays quiet, so those reports are
// dropped. The library stays loaded: SDL uses this same copy of it.
void QuietAlsa() {
  void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
  if (!alsa) return;
  using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
  auto setHandler = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler"));
  if (setHandler) setHandler(DropAlsaReport);
}

// Opens the device on first use; true when there is one. Called with the
// mutex held.
bool OpenDevice(HostAudio* audio) {
  // The host window's end quits SDL, which closes the device.
  if (audio->device && !SDL_WasInit(SDL_INIT_AUDIO)) audio->device = 0;
  if (audio->device) return true;
  if (audio->tried) return false;
  audio->tried = true;
  if (!LoadSdl(nullptr)) return false;
  QuietAlsa();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec wanted = {};
  wanted.freq = kHostAudioRate;
  wanted.format = kHostFormat;
  wanted.channels = kHostAudioChannels;
  wanted.samples = kDeviceBufferFrames;
  // No changes allowed: SDL converts to whatever the hardware takes.
  audio->device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
  if (!audio->device) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  SDL_PauseAudioDevice(audio->device, 0);
  return true;
}

// How long the device's own buffer takes to play out after the queue empties.
Uint32 DeviceLatencyMs() { return kDeviceBufferFrames * 1000u / kHostAudioRate + 1; }

}  // namespace

bool ConvertWaveForHost(std::string_view file, std::vector<int16_t>* samples) {
  samples->clear();
  if (file.size() > static_cast<size_t>(SDL_MAX_SINT32) || !LoadSdl(nullptr)) return false;
  SDL_RWops* stream = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
  if (!stream) return false;
  SDL_AudioSpec layout;
  Uint8* decoded = nullptr;
  Uint32 decodedBytes = 0;
  if (!SDL_LoadWAV_RW(stream, 1, &layout, &decoded, &decodedBytes)) return false;

  SDL_AudioStream* converter =
      SDL_NewAudioStream(layout.format, layout.channels, layout.freq, kHostFormat, kHostAudioChannels, kHostAudioRate);
  bool converted = converter != nullptr;
  // SDL 2.26 resamples only part of one large put: the data goes in pieces.
  const Uint32 piece = kPutFrames * layout.channels * (SDL_AUDIO_BITSIZE(layout.format) / 8);
  for (Uint32 at = 0; converted && at < decodedBytes; at += piece)
    converted = SDL_AudioStreamPut(converter, decoded + at, static_cast<int>(SDL_min(piece, decodedBytes - at))) == 0;
  converted = converted && SDL_AudioStreamFlush(converter) == 0;
  SDL_FreeWAV(decoded);
  // The stream hands out its resampled data a piece at a time.
  while (converted) {
    int available = SDL_AudioStreamAvailable(converter);
    if (available <= 0) break;
    size_t had = samples->size();
    samples->resize(had + static_cast<size_t>(available) / sizeof(int16_t));
    int got = SDL_AudioStreamGet(converter, samples->data() + had, available);
    converted = got > 0;
    samples->resize(converted ? had + static_cast<size_t>(got) / sizeof(int16_t) : 0);
  }
  if (converter) SDL_FreeAudioStream(converter);
  return converted;
}

void PlayOnHost(const std::vector<int16_t>& samples, bool wait) {
  HostAudio& audio = Audio();
  SDL_AudioDeviceID device;
  {
    std::lock_guard<std::mutex> lock(audio.mutex);
    if (!OpenDevice(&audio)) return;
    device = audio.device;
    // A new sound cuts the one playing short, as on the phone.
    SDL_ClearQueuedAudio(device);
    if (SDL_QueueAudio(device, samples.data(), static_cast<Uint32>(samples.size() * sizeof(int16_t))) != 0) return;
  }
  if (!wait) return;
  while (SDL_GetQueuedAudioSize(device) > 0) SDL_Delay(kDrainPollMs);
  SDL_Delay(DeviceLatencyMs());
}

void StopHostSound() {
  HostAudio& audio = Audio();
  std::lock_guard<std::mutex> lock(audio.mutex);
  if (audio.device && SdlLoaded() && SDL_WasInit(SDL_INIT_AUDIO)) SDL_ClearQueuedAudio(audio.device);
}

}  // namespace platform
