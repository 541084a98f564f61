// Runtime text routines for UTF-16 (WCHAR) strings, with the Windows CE
// behaviour.
#pragma once

#ifndef RC_INVOKED
#include <cstdarg>
#include <cstdlib>
#endif

size_t wcslen(const WCHAR* text);
int wcscmp(const WCHAR* a, const WCHAR* b);
int wcsncmp(const WCHAR* a, const WCHAR* b, size_t count);

// Copies at most `count` units; pads with zeros when the source is shorter
// and, like the C routine, leaves the result unterminated when it is not.
WCHAR* wcsncpy(WCHAR* dest, const WCHAR* src, size_t count);

const WCHAR* wcsstr(const WCHAR* text, const WCHAR* part);
WCHAR* wcsstr(WCHAR* text, const WCHAR* part);
const WCHAR* wcschr(const WCHAR* text, WCHAR c);
WCHAR* wcschr(WCHAR* text, WCHAR c);
const WCHAR* wcsrchr(const WCHAR* text, WCHAR c);
WCHAR* wcsrchr(WCHAR* text, WCHAR c);

// Lower-cases in place and returns text.
WCHAR* _wcslwr(WCHAR* text);
int _wcsicmp(const WCHAR* a, const WCHAR* b);
int _wcsnicmp(const WCHAR* a, const WCHAR* b, size_t count);

// A copy on the heap, to be released with free(); null when out of memory.
WCHAR* _wcsdup(const WCHAR* text);

// Leading white space, an optional sign, then decimal digits up to the
// first other character; 0 without digits; out of range saturates.
LONG _wtol(const WCHAR* text);
int _wtoi(const WCHAR* text);

// %s (WCHAR text; %hs and %S narrow text), %c, %d, %i, %u, %x, %X, %%, with
// the flags "-", "0" and "#", a width and a precision, and the size prefixes
// h and l. Writes at most 1024 units, always terminated, and
// returns the number of units written without the terminator.
int wsprintfW(LPWSTR buffer, LPCWSTR format, ...);
int wvsprintfW(LPWSTR buffer, LPCWSTR format, va_list args);
