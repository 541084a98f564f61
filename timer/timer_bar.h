// The bar's dialog procedure: colours, painting, the six-second end and taps.
#pragma once

#include <windows.h>

// Timer 2 ticks once a second; the bar ends itself at the sixth tick.
#define BAR_TIMER_ID 2
#define BAR_TIMER_PERIOD 1000
#define BAR_LIFETIME_TICKS 6

INT_PTR CALLBACK BarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam);
