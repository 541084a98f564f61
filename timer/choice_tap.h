// What a tap on the bar does: set a temporary switch for the chosen
// duration, or cancel one, then reschedule the wake-up and end.
#pragma once

#include <windows.h>

// x is the tap's x position in the bar.
void HandleChoiceTap(int x);
