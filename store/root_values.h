// The words and records of the store's root key ("DefaultMode", "TimeSwitch",
// the records of work underway), read and written one at a time as every
// program shares them.
#pragma once

#include <windows.h>

// Reads a REG_DWORD of four bytes from the root key; FALSE, with *value
// untouched, when the key or the value is missing or is no such DWORD.
BOOL ReadRootDword(LPCWSTR name, DWORD* value);

// TRUE when the root key holds `name`, whatever its type.
BOOL RootValueStored(LPCWSTR name);

// Writes a REG_DWORD into the root key when the key exists; it is not created.
void WriteRootDword(LPCWSTR name, DWORD value);

// The active mode: "DefaultMode" when it is a REG_DWORD naming one of the
// user's modes (1 to 5); 0, no active mode, when it is missing or holds
// anything else.
DWORD ReadActiveMode();

// The active mode that a read of "DefaultMode" names, by the rule above:
// the value when it was `found` and is 1 to 5, else 0.
DWORD ActiveModeNamed(BOOL found, DWORD value);

// Writes `size` bytes as one REG_BINARY value of the root key, creating the
// key when missing: a single registry write, so a reader sees the whole
// record or none of it.
void WriteRootRecord(LPCWSTR name, const void* record, DWORD size);

// Reads a REG_BINARY of exactly `size` bytes into `record`; FALSE, with the
// record untouched, when it is missing or of another type or size.
BOOL ReadRootRecord(LPCWSTR name, void* record, DWORD size);

// Removes a value of the root key, when there is one.
void DeleteRootValue(LPCWSTR name);
