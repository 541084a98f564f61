// The host's SDL2, loaded at run time: only a program that opens a host
// window or plays a sound on the host maps and starts it, so headless and
// windowless programs run without it (and without the X11, Wayland, sound
// and D-Bus libraries it brings).
#pragma once

#include <string>

namespace platform {

// Loads libSDL2 on first use. False, with a message naming the Debian package
// to install, when the host has none.
bool LoadSdl(std::string* error);

// Whether an earlier LoadSdl succeeded; never loads.
bool SdlLoaded();

}  // namespace platform
