// The ring player's scripts for the patterns the phone offers, as a mode
// stores them in "Ring Mode".
#pragma once

#include <windows.h>

inline constexpr WCHAR RING_DISPLAY[] = TEXT("a");
inline constexpr WCHAR RING_FLASH[] = TEXT("af1w60f0");
inline constexpr WCHAR RING_RING[] = TEXT("apw3r");
inline constexpr WCHAR RING_ONCE[] = TEXT("ap");
inline constexpr WCHAR RING_INCREASING[] = TEXT("c50apw3c150r");
inline constexpr WCHAR RING_VIBRATE_THEN_RING[] = TEXT("v3w3apw3r");
inline constexpr WCHAR RING_VIBRATE[] = TEXT("av3w3r");
inline constexpr WCHAR RING_SHORT_VIBRATE[] = TEXT("av1w3r");
inline constexpr WCHAR RING_VIBRATE_LONG_THEN_RING[] = TEXT("v3w3v3w3apw3r");
inline constexpr WCHAR RING_VIBRATE_AND_RING[] = TEXT("av0pw3r");
inline constexpr WCHAR RING_INCREASING_AND_VIBRATE[] = TEXT("c50apv3w3c150r");
inline constexpr WCHAR RING_FAST_VIBRATE_AND_FLASH[] = TEXT("af1v1w1f0r");
