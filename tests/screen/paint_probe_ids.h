// Identifiers of the painting probe's dialog, its controls and its picture.
#pragma once

#define IDD_PAINT_PROBE 100
#define IDD_PAINT_PROBE_LANDSCAPE 102
#define IDB_PAINT_PICTURE 101

#define IDC_MODE_NAME 1001
#define IDC_PREVIOUS 1002
#define IDC_NEXT 1003
#define IDC_KEYBOARD 1004
#define IDC_GROUP 1005
#define IDC_RING_LABEL 1006
#define IDC_RING 1007
#define IDC_SIM_CHECK 1008
#define IDC_SIM_CODE 1009
#define IDC_MUTE 1010
#define IDC_VOLUME 1011
#define IDC_LOUD 1012
#define IDC_AUTO_PICKUP 1013
#define IDC_RINGS 1014
#define IDC_SAVE 1015
#define IDC_RESET 1016
#define IDC_VERSION 1017
#define IDC_WHITE_LABEL 1018
