// The item's watch on the phone's line: while the phone is on, it lets the
// callers that the active mode lets through ring at the mode's "AllowVolume"
// (its caller rules, store/caller_rules.h), and puts the mode's own ring
// volume back once no call is left.
#pragma once

#include <windows.h>

// Opens the line with monitor privilege; without a line, there is nothing to watch.
void StartCallWatcher(HINSTANCE instance);
void StopCallWatcher();
