// Which display back end the program uses: `sdl` (a host window) or
// `headless` (no window), from SELVANE_DISPLAY. The kernel reads it because
// a headless program runs in virtual time.
#pragma once

#include <string>

namespace platform {

bool DisplayIsHeadless();

// Why a host window that SELVANE_DISPLAY=sdl asks for cannot open ("no
// display (DISPLAY is not set)"), or empty when it may. A program that was
// not asked for sdl explicitly falls back to headless instead.
std::string HostWindowRefusal();

}  // namespace platform
