// The SDL2 back end: a host window showing the phone's screen, scaled.
#pragma once

namespace platform {

// Installs the message loop's host waiter; the window opens when the first
// program window is visible. Without a usable host display the program runs
// on without a window (a message says so).
void StartSdlDisplay();

}  // namespace platform
