// Which display back end the program uses: `sdl` (a host window) or
// `headless` (no window), from SELVANE_DISPLAY. The kernel reads it because
// a headless program runs in virtual time.
#pragma once

namespace platform {

bool DisplayIsHeadless();

}  // namespace platform
