// The radio, Bluetooth and headset states a mode carries: their values and
// the texts and order in which the dialog lists them.
#pragma once

#include <windows.h>

#define RADIO_OFF 0
#define RADIO_ON 1
#define RADIO_NO_CHANGE 3

// Passed unchanged to the Bluetooth helper: 0, 1 and 2 are the Microsoft
// stack's modes, 4 the Widcomm stack switched on.
#define BT_OFF 0
#define BT_CONNECTABLE 1
#define BT_DISCOVERABLE 2
#define BT_NO_CHANGE 3
#define BT_WIDCOMM_ON 4

#define HEADSET_OFF 0
#define HEADSET_ON 1
#define HEADSET_NO_CHANGE 3

struct StateChoice {
  WCHAR Text[32];
  DWORD Value;
};

#define RADIO_STATE_CHOICES 3
#define BT_STATE_CHOICES 5
#define HEADSET_STATE_CHOICES 3

extern const StateChoice RadioStateTable[RADIO_STATE_CHOICES];
extern const StateChoice BTStateTable[BT_STATE_CHOICES];
extern const StateChoice HeadsetStateTable[HEADSET_STATE_CHOICES];

// The list position of `value` in a table, or -1 for a value it lacks.
int StateListPosition(const StateChoice* table, int choices, DWORD value);
