// The hardware sections of the state command, read from the device's
// phone.db: device_state values, the Widcomm and headset registry values,
// and the table of named events' signals.
#include "tools/device/phone_state_sections.h"

#include <bthutil.h>
#include <cstdio>
#include <extapi.h>
#include <mmsystem.h>
#include <string>
#include <windows.h>

#include "phone/bluetooth_control.h"
#include "platform/hardware/phone_state.h"
#include "platform/portable/widcomm_stack.h"

namespace {

const char* EquipmentStateName(int state) {
  switch (state) {
    case LINEEQUIPSTATE_MINIMUM: return "minimum";
    case LINEEQUIPSTATE_RXONLY: return "receive only";
    case LINEEQUIPSTATE_TXONLY: return "transmit only";
    case LINEEQUIPSTATE_NOTXRX: return "no transmit or receive";
    case LINEEQUIPSTATE_FULL: return "full";
  }
  return "unknown";
}

const char* MicrosoftModeName(int mode) {
  switch (mode) {
    case BTH_POWER_OFF: return "off";
    case BTH_CONNECTABLE: return "connectable";
    case BTH_DISCOVERABLE: return "discoverable";
  }
  return "unknown";
}

}  // namespace

void PrintRadioState() {
  using namespace platform;
  if (DeviceInt(kLineDevices, 1) <= 0) {
    std::printf("radio: no cellular line\n");
    return;
  }
  const int state = DeviceInt(kRadioEquipment, LINEEQUIPSTATE_FULL);
  std::printf("radio: %s (equipment state %d), %s\n", EquipmentStateName(state), state,
              DeviceInt(kRadioRegistered, 0) ? "registered" : "not registered");
}

void PrintSimState() {
  using namespace platform;
  std::printf("sim: %s, PIN \"%s\"\n", DeviceInt(kSimLocked, 0) ? "locked" : "unlocked",
              DeviceValue(kSimPin).value_or("").c_str());
}

void PrintBluetoothState() {
  using namespace platform;
  if (DeviceValue(kBluetoothStack).value_or("microsoft") == "widcomm") {
    const int mode = portable::WidcommStackMode();
    std::printf("bluetooth: Widcomm stack, %s\n", mode < 0 ? "no StackMode key" : mode ? "on" : "off");
  } else {
    std::printf("bluetooth: Microsoft stack, %s\n", MicrosoftModeName(DeviceInt(kBluetoothMode, BTH_POWER_OFF)));
  }
}

void PrintHeadsetState() {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, HEADSET_PROFILE_KEY, 0, 0, &key) != ERROR_SUCCESS) {
    std::printf("headset: no profile key\n");
    return;
  }
  DWORD on = 0, type = 0, size = sizeof on;
  const bool read = RegQueryValueExW(key, HEADSET_ON_VALUE, nullptr, &type, reinterpret_cast<BYTE*>(&on), &size) ==
                        ERROR_SUCCESS &&
                    type == REG_DWORD;
  RegCloseKey(key);
  std::printf("headset: %s\n", !read ? "unknown" : on ? "on" : "off");
}

void PrintSoundState() {
  DWORD volume = 0;
  waveOutGetVolume(nullptr, &volume);
  std::printf("wave volume: 0x%08X\n", volume);
  std::printf("audio updates: %d\n", platform::DeviceInt(platform::kAudioUpdates, 0));
}

void PrintEventCounts() {
  platform::Statement q(platform::DeviceDb(), "SELECT name, count FROM event_signals ORDER BY name");
  bool any = false;
  while (q.Step()) {
    if (!any) std::printf("events:\n");
    any = true;
    std::printf("  \"%s\" signalled %lld times\n", q.Text(0).c_str(), static_cast<long long>(q.Int(1)));
  }
  if (!any) std::printf("events: none\n");
}
