// The SDL2 back end. It waits for the message loop: while it waits it shows
// the screen (painted afresh whenever the windows of any program on it
// changed, and each second for the clock), turns a click into a tap at the
// phone pixel under it and typed keys into characters for the focused
// window. One program, the first to show a window, has the host window; the
// programs started over it draw into it through the shared screen and wait
// without SDL. Closing the host window switches the phone off: every program
// on it ends with status 0.
#include "sdl_display.h"

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>

#include "../kernel/program.h"
#include "../user/message_loop.h"
#include "../user/window_model.h"
#include "display.h"
#include "host_input.h"
#include "screen.h"
#include "sdl_library.h"
#include "shared_screen.h"

namespace platform {
namespace {

constexpr int64_t kClockRefreshMs = 1000;
// How often the host window looks for changes of the other programs' layers.
constexpr int64_t kOtherLayersRefreshMs = 30;

struct HostWindow {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int width = 0;  // phone pixels
  int height = 0;
  int scale = 2;
  uint64_t shownVersion = 0;
  uint64_t shownOthers = 0;  // OtherLayersStamp when last shown
  std::chrono::steady_clock::time_point shownAt;
  bool failed = false;  // no host display: run on without a window
};

HostWindow g_host;
std::mutex g_wakeLock;
std::condition_variable g_wake;
bool g_woken = false;
std::atomic<Uint32> g_wakeEvent{0};  // set once the window is open

bool AnyWindowShown() {
  for (HWND window : TopLevelWindows())
    if (WindowShown(window)) return true;
  return false;
}

void Close() {
  g_wakeEvent = 0;
  if (g_host.texture) SDL_DestroyTexture(g_host.texture);
  if (g_host.renderer) SDL_DestroyRenderer(g_host.renderer);
  if (g_host.window) SDL_DestroyWindow(g_host.window);
  g_host.texture = nullptr;
  g_host.renderer = nullptr;
  g_host.window = nullptr;
  SDL_Quit();
}

void Open() {
  std::string missing;
  if (!LoadSdl(&missing)) {
    std::fprintf(stderr, "%s: %s; running without a window\n", ProgramName().c_str(), missing.c_str());
    g_host.failed = true;
    return;
  }
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "%s: no host display (%s); running without a window\n", ProgramName().c_str(),
                 SDL_GetError());
    g_host.failed = true;
    return;
  }
  const Surface& screen = ScreenSurface();
  g_host.width = screen.width();
  g_host.height = screen.height();
  g_host.scale = DisplayScale();
  std::string title = ProgramName() + " - phone screen";
  g_host.window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   g_host.width * g_host.scale, g_host.height * g_host.scale, 0);
  if (g_host.window)
    g_host.renderer = SDL_CreateRenderer(g_host.window, -1, SDL_RENDERER_SOFTWARE);
  if (g_host.renderer)
    g_host.texture = SDL_CreateTexture(g_host.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                       g_host.width, g_host.height);
  if (!g_host.texture) {
    std::fprintf(stderr, "%s: cannot open the host window (%s); running without it\n",
                 ProgramName().c_str(), SDL_GetError());
    Close();
    g_host.failed = true;
    return;
  }
  SDL_StartTextInput();
  g_wakeEvent = SDL_RegisterEvents(1);
  AtProgramExit(Close);
}

void Present() {
  const Surface& screen = PaintScreen();
  g_host.shownVersion = WindowModelVersion();
  g_host.shownOthers = OtherLayersStamp();
  g_host.shownAt = std::chrono::steady_clock::now();
  if (screen.width() != g_host.width || screen.height() != g_host.height) return;
  SDL_UpdateTexture(g_host.texture, nullptr, screen.row(0), screen.width() * int(sizeof(Pixel)));
  SDL_RenderClear(g_host.renderer);
  SDL_RenderCopy(g_host.renderer, g_host.texture, nullptr, nullptr);
  SDL_RenderPresent(g_host.renderer);
}

void HandleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      SwitchOffScreen();
      EndProgram(0);
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.button == SDL_BUTTON_LEFT)
        HostTap(event.button.x / g_host.scale, event.button.y / g_host.scale);
      break;
    case SDL_MOUSEMOTION:
      if (event.motion.state & SDL_BUTTON_LMASK) HostDrag(event.motion.x / g_host.scale, event.motion.y / g_host.scale);
      break;
    case SDL_MOUSEBUTTONUP:
      if (event.button.button == SDL_BUTTON_LEFT) HostRelease();
      break;
    case SDL_MOUSEWHEEL:
      // Three lines a notch, as Windows scrolls by default; y > 0 is away from the user.
      if (event.wheel.y) HostWheel(-3 * event.wheel.y);
      break;
    case SDL_TEXTINPUT:
      HostText(event.text.text);
      break;
    case SDL_KEYDOWN:
      switch (event.key.keysym.sym) {
        case SDLK_BACKSPACE: HostKey(HostKeyCode::Backspace); break;
        case SDLK_RETURN: case SDLK_KP_ENTER: HostKey(HostKeyCode::Enter); break;
        case SDLK_TAB: HostKey(HostKeyCode::Tab); break;
        case SDLK_LEFT: HostKey(HostKeyCode::Left); break;
        case SDLK_RIGHT: HostKey(HostKeyCode::Right); break;
        case SDLK_UP: HostKey(HostKeyCode::Up); break;
        case SDLK_DOWN: HostKey(HostKeyCode::Down); break;
        case SDLK_PAGEUP: HostKey(HostKeyCode::PageUp); break;
        case SDLK_PAGEDOWN: HostKey(HostKeyCode::PageDown); break;
        case SDLK_HOME: HostKey(HostKeyCode::Home); break;
        case SDLK_END: HostKey(HostKeyCode::End); break;
        case SDLK_ESCAPE: HostKey(HostKeyCode::Escape); break;
        default: break;
      }
      break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_EXPOSED) g_host.shownVersion = 0;
      break;
    default:
      break;
  }
}

// Waits for host events for at most `timeoutMs` (-1: until something
// happens), or until the loop is woken.
void Wait(int64_t timeoutMs) {
  if (!g_host.window && !g_host.failed && AnyWindowShown() && TakeHostWindow()) Open();
  if (!g_host.window && WaitWithoutHostWindow(timeoutMs)) return;
  if (!g_host.window) {
    std::unique_lock<std::mutex> lock(g_wakeLock);
    if (timeoutMs < 0)
      g_wake.wait(lock, [] { return g_woken; });
    else
      g_wake.wait_for(lock, std::chrono::milliseconds(timeoutMs), [] { return g_woken; });
    g_woken = false;
    return;
  }
  auto since = std::chrono::steady_clock::now() - g_host.shownAt;
  if (g_host.shownVersion != WindowModelVersion() || g_host.shownOthers != OtherLayersStamp() ||
      since >= std::chrono::milliseconds(kClockRefreshMs))
    Present();
  int64_t longest = OtherProgramsOnScreen() ? kOtherLayersRefreshMs : kClockRefreshMs;
  int wait = int(timeoutMs < 0 || timeoutMs > longest ? longest : timeoutMs);
  SDL_Event event;
  if (!SDL_WaitEventTimeout(&event, wait)) return;
  do {
    if (event.type != g_wakeEvent) HandleEvent(event);
  } while (SDL_PollEvent(&event));
}

void Wake() {
  WakeWithoutHostWindow();
  {
    std::lock_guard<std::mutex> lock(g_wakeLock);
    g_woken = true;
  }
  g_wake.notify_all();
  if (Uint32 type = g_wakeEvent) {
    SDL_Event event{};
    event.type = type;
    SDL_PushEvent(&event);
  }
}

}  // namespace

void StartSdlDisplay() { SetHostWaiter(Wait, Wake); }

}  // namespace platform
