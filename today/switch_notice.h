// The notice of an automatic switch: a switch the user did not tap (a daily
// start or stop, a calendar start or end, the end of a temporary switch, a
// missed one caught up) is shown on the item's second line, "Night since
// 22:30 (daily start)", for a minute or until the screen is tapped.
#pragma once

#include <windows.h>

#include "today/switch_weighing.h"

// How long a notice stays, in milliseconds.
#define SWITCH_NOTICE_MS 60000

// Called at each switch the item makes: keeps a notice for the automatic
// ones, `reasonText` being the journal's words for `reason`, `at` the time
// of the switch and `missed` the minute it fell due when made late.
void NoteSwitch(DWORD mode, SwitchReason reason, LPCWSTR reasonText, const SYSTEMTIME* at,
                const SYSTEMTIME* missed);
// The notice while it stands, else null.
LPCWSTR CurrentSwitchNotice();
// A tap on the screen takes the notice away.
void DismissSwitchNotice();
