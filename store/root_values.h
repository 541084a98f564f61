// The DWORD words of the store's root key ("DefaultMode", "TimeSwitch"),
// read and written one at a time as every program shares them.
#pragma once

#include <windows.h>

// Reads a REG_DWORD of four bytes from the root key; FALSE, with *value
// untouched, when the key or the value is missing or is no such DWORD.
BOOL ReadRootDword(LPCWSTR name, DWORD* value);

// TRUE when the root key holds `name`, whatever its type.
BOOL RootValueStored(LPCWSTR name);

// Writes a REG_DWORD into the root key when the key exists; it is not created.
void WriteRootDword(LPCWSTR name, DWORD value);
