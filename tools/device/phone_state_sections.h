// The phone hardware's sections of `selvane-device state`: radio, SIM,
// Bluetooth, headset, sound and the named events' signal counts.
#pragma once

void PrintRadioState();
void PrintSimState();
void PrintBluetoothState();
void PrintHeadsetState();
void PrintSoundState();
void PrintEventCounts();
