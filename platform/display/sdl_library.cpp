// The SDL2 functions the host window and host audio call, each resolved in
// the library loaded by LoadSdl at its first call. The definitions repeat
// SDL's own declarations, so a signature that differs does not compile.
#include "sdl_library.h"

#include <SDL.h>
#include <dlfcn.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace platform {
namespace {

constexpr const char* kSdlLibrary = "libSDL2-2.0.so.0";
constexpr const char* kSdlPackage = "libsdl2-2.0-0";

std::once_flag g_loadOnce;
void* g_library = nullptr;
std::string g_loadError;
std::atomic<bool> g_loaded{false};

void Load() {
  g_library = dlopen(kSdlLibrary, RTLD_NOW | RTLD_LOCAL);
  if (!g_library) {
    const char* reason = dlerror();
    g_loadError = std::string("the host window needs SDL2 (") + (reason ? reason : kSdlLibrary) +
                  "); install the Debian package " + kSdlPackage;
  }
  g_loaded = g_library != nullptr;
}

// The address of an SDL function. Every caller has loaded the library
// first, so a missing one is a fault of this program.
template <typename Function>
Function Resolve(const char* name) {
  void* found = g_library ? dlsym(g_library, name) : nullptr;
  if (!found) {
    std::fprintf(stderr, "SDL2 function %s is not available\n", name);
    std::abort();
  }
  return reinterpret_cast<Function>(found);
}

}  // namespace

bool LoadSdl(std::string* error) {
  std::call_once(g_loadOnce, Load);
  if (!g_library && error) *error = g_loadError;
  return g_library != nullptr;
}

bool SdlLoaded() { return g_loaded; }

}  // namespace platform

#define SDL_FORWARD(name, ...)                                                   \
  {                                                                              \
    static const auto function = platform::Resolve<decltype(&name)>(#name);      \
    return function(__VA_ARGS__);                                                \
  }

int SDLCALL SDL_Init(Uint32 flags) SDL_FORWARD(SDL_Init, flags)
int SDLCALL SDL_InitSubSystem(Uint32 flags) SDL_FORWARD(SDL_InitSubSystem, flags)
void SDLCALL SDL_QuitSubSystem(Uint32 flags) SDL_FORWARD(SDL_QuitSubSystem, flags)
Uint32 SDLCALL SDL_WasInit(Uint32 flags) SDL_FORWARD(SDL_WasInit, flags)
void SDLCALL SDL_Quit(void) SDL_FORWARD(SDL_Quit)
const char* SDLCALL SDL_GetError(void) SDL_FORWARD(SDL_GetError)
void SDLCALL SDL_Delay(Uint32 ms) SDL_FORWARD(SDL_Delay, ms)

SDL_Window* SDLCALL SDL_CreateWindow(const char* title, int x, int y, int w, int h, Uint32 flags)
    SDL_FORWARD(SDL_CreateWindow, title, x, y, w, h, flags)
void SDLCALL SDL_DestroyWindow(SDL_Window* window) SDL_FORWARD(SDL_DestroyWindow, window)
SDL_Renderer* SDLCALL SDL_CreateRenderer(SDL_Window* window, int index, Uint32 flags)
    SDL_FORWARD(SDL_CreateRenderer, window, index, flags)
void SDLCALL SDL_DestroyRenderer(SDL_Renderer* renderer) SDL_FORWARD(SDL_DestroyRenderer, renderer)
SDL_Texture* SDLCALL SDL_CreateTexture(SDL_Renderer* renderer, Uint32 format, int access, int w, int h)
    SDL_FORWARD(SDL_CreateTexture, renderer, format, access, w, h)
void SDLCALL SDL_DestroyTexture(SDL_Texture* texture) SDL_FORWARD(SDL_DestroyTexture, texture)
int SDLCALL SDL_UpdateTexture(SDL_Texture* texture, const SDL_Rect* rect, const void* pixels, int pitch)
    SDL_FORWARD(SDL_UpdateTexture, texture, rect, pixels, pitch)
int SDLCALL SDL_RenderClear(SDL_Renderer* renderer) SDL_FORWARD(SDL_RenderClear, renderer)
int SDLCALL SDL_RenderCopy(SDL_Renderer* renderer, SDL_Texture* texture, const SDL_Rect* srcrect,
                           const SDL_Rect* dstrect) SDL_FORWARD(SDL_RenderCopy, renderer, texture, srcrect, dstrect)
void SDLCALL SDL_RenderPresent(SDL_Renderer* renderer) SDL_FORWARD(SDL_RenderPresent, renderer)

void SDLCALL SDL_StartTextInput(void) SDL_FORWARD(SDL_StartTextInput)
Uint32 SDLCALL SDL_RegisterEvents(int numevents) SDL_FORWARD(SDL_RegisterEvents, numevents)
int SDLCALL SDL_PollEvent(SDL_Event* event) SDL_FORWARD(SDL_PollEvent, event)
int SDLCALL SDL_PushEvent(SDL_Event* event) SDL_FORWARD(SDL_PushEvent, event)
int SDLCALL SDL_WaitEventTimeout(SDL_Event* event, int timeout) SDL_FORWARD(SDL_WaitEventTimeout, event, timeout)

SDL_RWops* SDLCALL SDL_RWFromConstMem(const void* mem, int size) SDL_FORWARD(SDL_RWFromConstMem, mem, size)
SDL_AudioSpec* SDLCALL SDL_LoadWAV_RW(SDL_RWops* src, int freesrc, SDL_AudioSpec* format, Uint8** audio_buf,
                                      Uint32* audio_len)
    SDL_FORWARD(SDL_LoadWAV_RW, src, freesrc, format, audio_buf, audio_len)
void SDLCALL SDL_FreeWAV(Uint8* audio_buf) SDL_FORWARD(SDL_FreeWAV, audio_buf)
SDL_AudioStream* SDLCALL SDL_NewAudioStream(const SDL_AudioFormat src_format, const Uint8 src_channels,
                                            const int src_rate, const SDL_AudioFormat dst_format,
                                            const Uint8 dst_channels, const int dst_rate)
    SDL_FORWARD(SDL_NewAudioStream, src_format, src_channels, src_rate, dst_format, dst_channels, dst_rate)
int SDLCALL SDL_AudioStreamPut(SDL_AudioStream* stream, const void* buf, int len)
    SDL_FORWARD(SDL_AudioStreamPut, stream, buf, len)
int SDLCALL SDL_AudioStreamGet(SDL_AudioStream* stream, void* buf, int len)
    SDL_FORWARD(SDL_AudioStreamGet, stream, buf, len)
int SDLCALL SDL_AudioStreamAvailable(SDL_AudioStream* stream) SDL_FORWARD(SDL_AudioStreamAvailable, stream)
int SDLCALL SDL_AudioStreamFlush(SDL_AudioStream* stream) SDL_FORWARD(SDL_AudioStreamFlush, stream)
void SDLCALL SDL_FreeAudioStream(SDL_AudioStream* stream) SDL_FORWARD(SDL_FreeAudioStream, stream)
SDL_AudioDeviceID SDLCALL SDL_OpenAudioDevice(const char* device, int iscapture, const SDL_AudioSpec* desired,
                                              SDL_AudioSpec* obtained, int allowed_changes)
    SDL_FORWARD(SDL_OpenAudioDevice, device, iscapture, desired, obtained, allowed_changes)
void SDLCALL SDL_PauseAudioDevice(SDL_AudioDeviceID dev, int pause_on) SDL_FORWARD(SDL_PauseAudioDevice, dev, pause_on)
int SDLCALL SDL_QueueAudio(SDL_AudioDeviceID dev, const void* data, Uint32 len)
    SDL_FORWARD(SDL_QueueAudio, dev, data, len)
Uint32 SDLCALL SDL_GetQueuedAudioSize(SDL_AudioDeviceID dev) SDL_FORWARD(SDL_GetQueuedAudioSize, dev)
void SDLCALL SDL_ClearQueuedAudio(SDL_AudioDeviceID dev) SDL_FORWARD(SDL_ClearQueuedAudio, dev)
