// The small registry steps the timer repeats on the store (whose key and
// value names are the store's): mode key paths and DWORD values.
#pragma once

#include "store/mode_store.h"
#include "windows.h"

// Room for MODE_NUMBER_KEY_FORMAT with any decimal number.
#define MODE_KEY_PATH_SIZE 64

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
