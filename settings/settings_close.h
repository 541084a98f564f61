// The end of the settings program: the Done button applies the active mode to
// the phone and registers the next automatic switch.
#pragma once

// Asks to save when the edited mode has changed; otherwise applies the active
// mode as stored, schedules the next switch, and ends the program.
void CloseSettings();
