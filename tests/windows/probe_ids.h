// Identifiers of the probe program's dialog, its controls and its picture.
#pragma once

#define IDD_PROBE 100
#define IDD_PROBE_LANDSCAPE 102
#define IDB_PROBE_PICTURE 101

#define IDC_GROUP 1000
#define IDC_AUTO 1001
#define IDC_MANUAL 1002
#define IDC_HIDDEN_CHECK 1003
#define IDC_DISABLED_CHECK 1004
#define IDC_LABEL 1005
#define IDC_CENTRED 1006
#define IDC_RIGHT 1007
#define IDC_PUSH 1008
#define IDC_DEFAULT 1009
#define IDC_NAME 1010
#define IDC_CODE 1011
#define IDC_PLAIN 1012
#define IDC_SORTED 1013
#define IDC_SLIDER 1014
#define IDC_DISABLED_EDIT 1015

// The code field takes at most this many digits.
#define PROBE_CODE_LIMIT 4
