// The week ahead on the phone: a view of its own over the Today screen, which
// a tap on the date line opens and the shell's "ok" closes.
#pragma once

#include <windows.h>

// Opens the view, the week worked out from the store, the calendar and the
// clock as they are now; a view already open comes to the front.
void ShowWeekView();
