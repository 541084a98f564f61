// The registry steps that every program repeats on the settings store and
// the phone's keys: single values read into and written from fixed-width
// fields, every copy bounded and terminated.
#pragma once

#include <windows.h>
#include <vector>

// Reads a value whole, whatever its size, into `data`. Returns the
// registry's status: ERROR_FILE_NOT_FOUND only when the value is absent.
LONG ReadWholeValue(HKEY key, LPCWSTR name, std::vector<BYTE>* data);

// Reads a number into `field`, whatever its stored type: a value of four
// bytes or fewer is taken (widened with zeros); a missing or longer value
// leaves the field as it was.
LONG ReadDwordValue(HKEY key, LPCWSTR name, DWORD* field);

// Reads a REG_DWORD of exactly four bytes into `field`; a value of another
// type or size is not the number this system keeps there, and leaves the
// field as it was (ERROR_INVALID_DATA).
LONG ReadTypedDwordValue(HKEY key, LPCWSTR name, DWORD* field);

// Reads a text value whole, whatever its length, into a field of `width`
// units: cut at its first terminator or where the field ends, always
// terminated. A missing value leaves the field as it was.
LONG ReadTextValue(HKEY key, LPCWSTR name, WCHAR* field, size_t width);

// The number of subkeys of an open key, or 0 when it cannot be asked.
DWORD CountSubkeys(HKEY key);

LONG WriteDwordValue(HKEY key, LPCWSTR name, DWORD value);

// Writes a field of `width` units as REG_SZ with its length and terminator;
// a field without a terminator is written up to its width.
LONG WriteTextValue(HKEY key, LPCWSTR name, const WCHAR* field, size_t width);

// Copies a field of `width` units into `copy` (at least width + 1 units), terminated.
void CopyField(WCHAR* copy, const WCHAR* field, size_t width);
