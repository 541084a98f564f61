// The phone's hardware state on desktop Win32: kept in the registry under
// HKEY_LOCAL_MACHINE\Software\Selvane\Phone, so that every program started
// on the same Windows sees it, and the journal of hardware calls kept in a
// text file, one line "PROGRAM TEXT" per call.
#pragma once

#include <windows.h>

#include <string>

namespace ce_layer {

// The key of the hardware state, below HKEY_LOCAL_MACHINE.
extern const WCHAR kPhoneKey[];

// A DWORD of the hardware key (or of its subkey `section`), `fallback` when
// it is missing or not a DWORD.
DWORD PhoneDword(LPCWSTR section, LPCWSTR name, DWORD fallback);
void SetPhoneDword(LPCWSTR section, LPCWSTR name, DWORD value);
// A text of the hardware key; `fallback` when missing.
std::wstring PhoneText(LPCWSTR section, LPCWSTR name, LPCWSTR fallback);
void SetPhoneText(LPCWSTR section, LPCWSTR name, const std::wstring& value);
void DeletePhoneValue(LPCWSTR section, LPCWSTR name);
// Adds one to a DWORD counter in one registry transaction of its own key.
void CountPhoneDword(LPCWSTR section, LPCWSTR name);

// Appends "PROGRAM TEXT" to the journal file (the hardware key's
// "JournalFile", else \phone-journal.txt), PROGRAM being the running
// program's file name without ".exe".
void JournalAppend(const std::string& text);

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
// Eight hexadecimal digits, upper case: "0x0000FFFF".
std::string Hex8(DWORD value);

}  // namespace ce_layer
