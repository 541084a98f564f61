// Putting a whole mode into effect on the phone, in a fixed order.
#pragma once

#include "store/mode_record.h"

// Applies the mode's Bluetooth, headset, volumes, ring pattern and tone,
// automatic pick-up, mute flags, backlight and (on a thread of its own)
// radio. The context goes to each setter unused. Every step is tried
// whatever came of the ones before; returns 0.
int ApplyMode(void* context, ModeRecord mode);
