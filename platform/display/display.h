// Starting the display back end the program uses (kernel/display_choice.h
// says which), and the host window's scale.
#pragma once

namespace platform {

// Starts the chosen back end at the program's entry. Headless needs nothing
// more (screenshots paint the screen on demand); sdl takes over the message
// loop's waiting, opens its host window once a program window shows, and
// turns host clicks into taps and host keys into keys.
void StartDisplay();

// The host window's scale: SELVANE_SCALE (1 to 8), else 2.
int DisplayScale();

}  // namespace platform
