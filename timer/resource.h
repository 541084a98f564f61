// Resource identifiers of the timer bar: its dialog template, the control
// that shows a pending switch, and the built-in pictures of the choices.
#pragma once

#define IDD_TIMER_BAR 101

#define IDB_CHOICE15 102
#define IDB_CHOICE30 103
#define IDB_CHOICE45 104
#define IDB_CHOICE60 105
#define IDB_CHOICE120 106
#define IDB_CHOICE180 107
#define IDB_CHOICE0 110

#define IDC_SWITCH_TEXT 1001
