// The user's modes by number: the numbers themselves, the path of a mode's
// key, and the name the user gave a mode.
#pragma once

#include <windows.h>

#include "store/mode_store.h"

// The first and last of the user's modes.
#define FIRST_MODE 1
#define LAST_MODE 5

// Room for MODE_KEY_NAME_FORMAT ("Mode %d") with any decimal number.
#define MODE_KEY_NAME_SIZE 20

// The name of mode `mode`'s key ("Mode 3").
void ModeKeyName(DWORD mode, WCHAR keyName[MODE_KEY_NAME_SIZE]);

// Room for MODE_NUMBER_KEY_FORMAT with any decimal number.
#define MODE_KEY_PATH_SIZE 64

// The full path of mode `mode`'s key ("...\Selvane\Mode 3").
void ModeKeyPath(DWORD mode, WCHAR path[MODE_KEY_PATH_SIZE]);

// The "Mode Name" of a mode, read as a REG_SZ into MODE_NAME_WIDTH units;
// empty when its key or the value is missing, of another type, or does not
// fit. Always terminated.
void ReadModeName(DWORD mode, WCHAR name[MODE_NAME_WIDTH]);
