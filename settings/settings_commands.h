// The settings dialog's command handler: what each of its controls does when
// the user taps, picks or types in it.
#pragma once

#include <windows.h>

// Handles a WM_COMMAND of the dialog: the sending control's window, its
// identifier and the notification code.
void HandleSettingsCommand(HWND from, int id, int code);
