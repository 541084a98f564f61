// Chooses the display back end: SELVANE_DISPLAY names it; without it a host
// display (X11 or Wayland) means sdl, and anything else headless.
#include "kernel/display_choice.h"

#include <cstdlib>
#include <cstring>

namespace platform {

bool DisplayIsHeadless() {
  const char* chosen = std::getenv("SELVANE_DISPLAY");
  if (chosen && *chosen) return std::strcmp(chosen, "sdl") != 0;
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return !((x11 && *x11) || (wayland && *wayland));
}

}  // namespace platform
