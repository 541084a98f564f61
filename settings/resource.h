// Identifiers of the settings program's resources: its two dialog layouts,
// every control of the dialog, and the built-in mode pictures.
#pragma once

// The two layouts of the settings dialog; the same controls in each.
#define IDD_SETTINGS_PORTRAIT 500
#define IDD_SETTINGS_LANDSCAPE 501
// The small dialog of the callers who ring in the mode shown, one layout for both.
#define IDD_CALLERS 502

// Built-in pictures of modes 1 to 5, drawn when the install folder has no
// picture file of the mode.
#define IDB_MODE1 103
#define IDB_MODE2 104
#define IDB_MODE3 105
#define IDB_MODE4 106
#define IDB_MODE5 117

// Frame: the mode strip, the page arrows, the bottom buttons and the question screen.
#define IDC_MODE_PREVIOUS 1055
#define IDC_MODE_NAME 1004
#define IDC_MODE_NEXT 1054
#define IDC_KEYBOARD 1000
#define IDC_PAGE_PREVIOUS 1027
#define IDC_PAGE_NEXT 1028
#define IDC_RESET 1049
#define IDC_SAVE 1009
#define IDC_EXPORT 1081
#define IDC_IMPORT 1080
#define IDC_CALLERS 1082
#define IDC_NO_SAVE 1083
#define IDC_QUESTION 1084
#define IDC_VERSION 65535
#define IDC_SPARE_ARROW 1002

// Page 1, volumes.
#define IDC_VOLUME_GROUP 1058
#define IDC_SYSTEM_VOLUME_LABEL 1033
#define IDC_SYSTEM_VOLUME_MUTE 1036
#define IDC_SYSTEM_VOLUME 1006
#define IDC_SYSTEM_VOLUME_LOUD 1037
#define IDC_PHONE_VOLUME_LABEL 1034
#define IDC_PHONE_VOLUME_MUTE 1017
#define IDC_PHONE_VOLUME 1008
#define IDC_PHONE_VOLUME_LOUD 1038
#define IDC_SPEAKER_VOLUME_LABEL 1059
#define IDC_SPEAKER_VOLUME_MUTE 1018
#define IDC_SPEAKER_VOLUME 1014
#define IDC_SPEAKER_VOLUME_LOUD 1041

// Page 2, ring.
#define IDC_RING_GROUP 1030
#define IDC_RING_LABEL 1035
#define IDC_RING_PATTERN 1005
#define IDC_RING_TONE 1007
#define IDC_RING_TONE_ON 1115
#define IDC_AUTO_PICK_UP 1072
#define IDC_PICK_UP_RINGS 1073
#define IDC_SIM_CODE_ON 1078
#define IDC_SIM_CODE 1076

// Page 3, notification events.
#define IDC_NOTIFS_GROUP 1029
#define IDC_EVENT 1010
#define IDC_PLAY_SOUND 1104
#define IDC_EVENT_SOUND 1013
#define IDC_PLAY 1001
#define IDC_REPEAT 1105
#define IDC_DISPLAY 1106
#define IDC_VIBRATE 1108
#define IDC_FLASH 1107
#define IDC_DURATION_UP 1020
#define IDC_DURATION 1012
#define IDC_DURATION_DOWN 1021

// Page 4, radio, Bluetooth and headset.
#define IDC_RADIO_GROUP 1039
#define IDC_RADIO_STATE 1023
#define IDC_BT_STATE 1025
#define IDC_HEADSET_STATE 1074

// Page 5, switch times.
#define IDC_TIME_GROUP 1040
#define IDC_START_ON 1069
#define IDC_START_HOUR 1060
#define IDC_START_HOUR_LABEL 1063
#define IDC_START_MINUTES 1071
#define IDC_START_MINUTES_LABEL 1064
#define IDC_STOP_ON 1068
#define IDC_STOP_HOUR 1070
#define IDC_STOP_HOUR_LABEL 1047
#define IDC_STOP_MINUTES 1062
#define IDC_STOP_MINUTES_LABEL 1065
#define IDC_MODE_BACK_LABEL 1056
#define IDC_MODE_BACK 1053
#define IDC_MONDAY 1089
#define IDC_TUESDAY 1090
#define IDC_WEDNESDAY 1091
#define IDC_THURSDAY 1092
#define IDC_FRIDAY 1093
#define IDC_SATURDAY 1094
#define IDC_SUNDAY 1095

// Page 6, sound classes.
#define IDC_SOUNDS_GROUP 1085
#define IDC_EVENT_SOUNDS 1086
#define IDC_PROGRAM_SOUNDS 1087
#define IDC_NOTIF_SOUNDS 1088

// Page 7, calendar rule.
#define IDC_OUTLOOK_GROUP 1096
#define IDC_OUTLOOK_SWITCH 1097
#define IDC_MODE_BUSY 1111
#define IDC_STATUS_ON 1113
#define IDC_STATUS 1099
#define IDC_CATEGORY_ON 1114
#define IDC_CATEGORY 1100
#define IDC_AUTO_REFRESH 1130

// Page 8, program to run.
#define IDC_PROGRAM_GROUP 1116
#define IDC_PROGRAM 1118
#define IDC_EXPLORE 1117
#define IDC_RUN 1123

// Page 9, backlight.
#define IDC_BACKLIGHT_GROUP 1119
#define IDC_BATTERY_TIMEOUT_ON 1122
#define IDC_BATTERY_TIMEOUT 1125
#define IDC_BATTERY_TIMEOUT_LABEL 1126
#define IDC_BACKLIGHT_ON_TAP 1124
#define IDC_BRIGHTNESS 1120
#define IDC_BRIGHTNESS_LABEL 1127
#define IDC_AC_BRIGHTNESS 1121
#define IDC_AC_BRIGHTNESS_LABEL 1128

// The callers dialog: the contacts category whose callers ring, their ring
// volume, and whether a second call within three minutes rings.
#define IDC_CALLER_CATEGORY_LABEL 1201
#define IDC_CALLER_CATEGORY 1202
#define IDC_CALLER_VOLUME_LABEL 1203
#define IDC_CALLER_VOLUME 1204
#define IDC_REPEAT_CALLS 1205
