// Chooses the display back end: SELVANE_DISPLAY names it; without it a host
// display (X11 or Wayland) means sdl, and anything else headless.
#include "display_choice.h"

#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

bool HostDisplaySet() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

bool DisplayIsHeadless() {
  const char* chosen = std::getenv("SELVANE_DISPLAY");
  if (chosen && *chosen) return std::strcmp(chosen, "sdl") != 0;
  return !HostDisplaySet();
}

std::string HostWindowRefusal() {
  const char* chosen = std::getenv("SELVANE_DISPLAY");
  if (!chosen || std::strcmp(chosen, "sdl") != 0 || HostDisplaySet()) return "";
  return "cannot open a host window: no display (DISPLAY is not set)";
}

}  // namespace platform
