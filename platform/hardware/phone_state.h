// The phone hardware's state in phone.db: the names of its device_state
// values and the seeding of a fresh device, one call per family.
#pragma once

#include <windows.h>

#include "../device/device.h"

namespace platform {

// Cellular line and radio (tapi.cpp).
inline const char kLineDevices[] = "line.devices";          // 1, or 0 for a phone without a line
inline const char kRadioEquipment[] = "radio.equipment";    // 1 minimum ... 5 full
inline const char kRadioRegistered[] = "radio.registered";  // 1 registered on the network
// SIM (sim.cpp); "sim.pin" is written by CreateDevice.
inline const char kSimPin[] = "sim.pin";
inline const char kSimLocked[] = "sim.locked";  // 1 until the PIN is entered
// Bluetooth (bluetooth.cpp); "bt.stack" is written by CreateDevice.
inline const char kBluetoothStack[] = "bt.stack";  // microsoft | widcomm
inline const char kBluetoothMode[] = "bt.mode";    // Microsoft stack: 0 off, 1 connectable, 2 discoverable
// Sound (wave.cpp).
inline const char kWaveVolume[] = "wave.volume";
inline const char kAudioUpdates[] = "audio.updates";
inline const char kLastSound[] = "sound.last";

void SeedWaveDevice();
void SeedCellular();
void SeedSim();
void SeedBluetooth(const DeviceOptions& options);

// What the phone provides to every program that runs on it: on a Widcomm
// device, the stack's tray window. Called by the program entry.
void StartPhoneHardware();

// Everything above for a fresh device; called by CreateDevice after the
// device values are written.
void SeedPhoneHardware(const DeviceOptions& options);

}  // namespace platform
