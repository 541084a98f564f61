// Who rings in a mode although the mode is quiet: callers of one contacts
// category, and a second call from the same number within three minutes,
// both at a ring volume of their own. Three values of the mode's key, kept
// apart from the mode's thirty: a mode text file does not carry them, so an
// export and an import leave them as they are.
#pragma once

#include <windows.h>

#include "store/mode_record.h"

inline constexpr WCHAR ALLOW_CATEGORY_VALUE[] = TEXT("AllowCategory");  // REG_SZ, "" = nobody
inline constexpr WCHAR ALLOW_VOLUME_VALUE[] = TEXT("AllowVolume");      // REG_DWORD, 1 to 5
inline constexpr WCHAR REPEAT_CALLS_VALUE[] = TEXT("RepeatCalls");      // REG_DWORD, 0 or 1

#define ALLOW_VOLUME_LOWEST 1
#define ALLOW_VOLUME_LOUDEST 5
// A second call from a number within this many seconds of its first rings.
#define REPEAT_CALL_SECONDS 180

struct CallerRules {
  WCHAR AllowCategory[CATEGORY_WIDTH];
  DWORD AllowVolume;
  DWORD RepeatCalls;
};

// The rules of a mode that has none stored: nobody let through, loudly
// should the user let someone through.
CallerRules NoCallerRules();
// The factory rules of mode `mode` (1 to 5): nobody let through, but
// "Night" lets a second call ring.
CallerRules FactoryCallerRules(DWORD mode);

// Reads the rules of mode key `keyName` ("Mode 2"). A missing value, or
// one of another type, keeps NoCallerRules' (a store from before the rules
// behaves as before); an "AllowVolume" outside 1 to 5 counts as 5;
// "RepeatCalls" is on when not 0. Nothing is written back.
CallerRules LoadCallerRules(LPCWSTR keyName);
// Writes the three values into the mode key, or into the record being saved
// (store/record_save.h), creating the key when missing.
void SaveCallerRules(LPCWSTR keyName, const CallerRules* rules);
