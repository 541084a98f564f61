// Writing the phone's own settings: keys under HKEY_CURRENT_USER that the
// phone owns, opened and never created.
#pragma once

#include <windows.h>

// What a write into a phone key came to.
#define PHONE_VALUE_WRITTEN 1
#define PHONE_KEY_MISSING 0
#define PHONE_WRITE_FAILED (-1)

// Opens `key`, writes one REG_DWORD value, closes the key.
int WritePhoneDword(LPCWSTR key, LPCWSTR name, DWORD value);
// Opens `key`, writes one REG_SZ value with its terminator, closes the key.
int WritePhoneText(LPCWSTR key, LPCWSTR name, LPCWSTR text);
// Writes one REG_DWORD value into a key that is already open.
int WriteOpenDword(HKEY key, LPCWSTR name, DWORD value);
