// Bounded text copies (StringCch*), the safe way to fill fixed-width fields.
#pragma once

#include <windows.h>

// Bounded copies into a buffer of `capacity` units: the result is always
// terminated; a source that does not fit is cut and reported.
#define STRSAFE_E_INSUFFICIENT_BUFFER ((HRESULT)0x8007007AL)
#define STRSAFE_E_INVALID_PARAMETER ((HRESULT)0x80070057L)
HRESULT StringCchCopyW(LPWSTR dest, size_t capacity, LPCWSTR src);
HRESULT StringCchCopyNW(LPWSTR dest, size_t capacity, LPCWSTR src, size_t count);
HRESULT StringCchCatW(LPWSTR dest, size_t capacity, LPCWSTR src);
