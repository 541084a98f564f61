// Resource identifiers of the Today screen: its window and the week view,
// the lines it shows and the built-in pictures of the five modes.
#pragma once

#define IDD_TODAY 100
#define IDD_TODAY_WEEK 110

#define IDB_TODAY_MODE1 101
#define IDB_TODAY_MODE2 102
#define IDB_TODAY_MODE3 103
#define IDB_TODAY_MODE4 104
#define IDB_TODAY_MODE5 105

#define IDC_TODAY_DATE 1001
#define IDC_TODAY_TIME 1002
#define IDC_TODAY_MODE_NAME 1003
#define IDC_TODAY_SWITCH_LINE 1004
