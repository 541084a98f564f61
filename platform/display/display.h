// Starting the display back end the program uses (kernel/display_choice.h
// says which), and the host window's scale.
#pragma once

#include <string>

namespace platform {

// Checks SELVANE_DISPLAY (sdl or headless; unset or empty: a window when the
// host has a display) and SELVANE_SCALE (1 to 8; unset or empty: 2): empty
// when both are allowed, else a message naming the variable, its value and
// the allowed values. The program entry refuses to start on a message.
std::string DisplaySettingsError();

// Starts the chosen back end at the program's entry. Headless needs nothing
// more (screenshots paint the screen on demand); sdl takes over the message
// loop's waiting, opens its host window once a program window shows, and
// turns host clicks into taps and host keys into keys.
void StartDisplay();

// The host window's scale: SELVANE_SCALE (1 to 8), else 2.
int DisplayScale();

}  // namespace platform
