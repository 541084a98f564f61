// The store's root key, kept open by the item while the phone is on: every
// second it reads "TimeSwitch" and "DefaultMode", and a key held open spares
// opening and closing it around each read.
#pragma once

#include <windows.h>

// Reads a REG_DWORD of four bytes from the root key, as ReadRootDword does:
// FALSE, with *value untouched, when the key or the value is missing or is
// no such DWORD. A key deleted since it was opened is opened afresh.
BOOL ReadHeldRootDword(LPCWSTR name, DWORD* value);

// The active mode as ReadActiveMode gives it, read through the held key.
DWORD ReadHeldActiveMode();

// Closes the key when the item ends.
void CloseHeldRootKey();
