// The state tables of the radio, Bluetooth and headset, in list order.
#include "phone/device_states.h"

const StateChoice RadioStateTable[RADIO_STATE_CHOICES] = {
    {TEXT("Radio On"), RADIO_ON},
    {TEXT("Radio Off"), RADIO_OFF},
    {TEXT("No change"), RADIO_NO_CHANGE},
};

const StateChoice BTStateTable[BT_STATE_CHOICES] = {
    {TEXT("BT On (Widcomm)"), BT_WIDCOMM_ON},
    {TEXT("BT Discoverable (MS)"), BT_DISCOVERABLE},
    {TEXT("BT Connectable (MS)"), BT_CONNECTABLE},
    {TEXT("BT Off"), BT_OFF},
    {TEXT("No change"), BT_NO_CHANGE},
};

const StateChoice HeadsetStateTable[HEADSET_STATE_CHOICES] = {
    {TEXT("Headset On"), HEADSET_ON},
    {TEXT("Headset Off"), HEADSET_OFF},
    {TEXT("No change"), HEADSET_NO_CHANGE},
};

int StateListPosition(const StateChoice* table, int choices, DWORD value) {
  for (int i = 0; i < choices; ++i)
    if (table[i].Value == value) return i;
  return -1;
}
