// The store keys and values the timer reads and writes, and the small
// registry steps it repeats: mode key paths and DWORD values.
#pragma once

#include "windows.h"

#define SELVANE_ROOT_KEY u"\\Software\\Microsoft\\Today\\Items\\Selvane"
#define MODE_KEY_FORMAT u"\\Software\\Microsoft\\Today\\Items\\Selvane\\Mode %d"
// Room for MODE_KEY_FORMAT with any decimal number.
#define MODE_KEY_PATH_SIZE 64

// Values of a mode key.
#define STOP_HOUR_TEMP_VALUE u"StopHourTemp"
#define STOP_MINUTES_TEMP_VALUE u"StopMinutesTemp"
#define MODE_BACK_TEMP_VALUE u"ModeBackTemp"
#define MODE_NAME_VALUE u"Mode Name"
// "Mode Name" is read into a 100-byte buffer: 50 units with the terminator.
#define MODE_NAME_SIZE 50

// The first and last of the user's modes.
#define FIRST_MODE 1
#define LAST_MODE 5

void ModeKeyPath(DWORD mode, WCHAR path[MODE_KEY_PATH_SIZE]);

// Reads a REG_DWORD value; FALSE, with *value untouched, when the value is
// missing or is not a four-byte DWORD.
BOOL ReadDwordValue(HKEY key, LPCWSTR name, DWORD* value);
void WriteDwordValue(HKEY key, LPCWSTR name, DWORD value);
