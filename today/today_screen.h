// The Today screen's window: the date and time, the active mode with its
// picture and name, a pending temporary switch, and the row of the five
// modes' pictures that starts the timer bar.
#pragma once

#include <windows.h>

INT_PTR CALLBACK TodayProc(HWND screen, UINT message, WPARAM wParam, LPARAM lParam);

// Places the lines and shows what the store and the clock say now.
void LayOutToday();
void ShowTodayTexts();
