// The state tables of the radio, Bluetooth and headset, in list order.
#include "phone/device_states.h"

const StateChoice RadioStateTable[RADIO_STATE_CHOICES] = {
    {u"Radio On", RADIO_ON},
    {u"Radio Off", RADIO_OFF},
    {u"No change", RADIO_NO_CHANGE},
};

const StateChoice BTStateTable[BT_STATE_CHOICES] = {
    {u"BT On (Widcomm)", BT_WIDCOMM_ON},
    {u"BT Discoverable (MS)", BT_DISCOVERABLE},
    {u"BT Connectable (MS)", BT_CONNECTABLE},
    {u"BT Off", BT_OFF},
    {u"No change", BT_NO_CHANGE},
};

const StateChoice HeadsetStateTable[HEADSET_STATE_CHOICES] = {
    {u"Headset On", HEADSET_ON},
    {u"Headset Off", HEADSET_OFF},
    {u"No change", HEADSET_NO_CHANGE},
};

int StateListPosition(const StateChoice* table, int choices, DWORD value) {
  for (int i = 0; i < choices; ++i)
    if (table[i].Value == value) return i;
  return -1;
}
