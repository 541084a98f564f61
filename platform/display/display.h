// Which display back end the program uses: `sdl` (a host window) or
// `headless` (no window, virtual time), from SELVANE_DISPLAY.
#pragma once

namespace platform {

bool DisplayIsHeadless();

}  // namespace platform
