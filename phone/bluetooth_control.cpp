// Bluetooth control: the headset profile value, and the start of the
// helper program that switches either Bluetooth stack in its own process.
#include "phone/bluetooth_control.h"

#include "phone/device_states.h"
#include "phone/phone_registry.h"
#include "store/install_folder.h"

int SetHeadsetProfile(void*, DWORD state) {
  if (state == HEADSET_OFF || state == HEADSET_ON) WritePhoneDword(HEADSET_PROFILE_KEY, HEADSET_ON_VALUE, state);
  return 0;
}

int StartBluetoothHelper(DWORD state) {
  WCHAR folder[MAX_PATH];
  // A folder cut to fit would name some other program: then start none.
  if (LocateInstallFolder(folder, MAX_PATH) >= MAX_PATH) return 0;
  WCHAR path[MAX_PATH + 16];
  wsprintfW(path, BLUETOOTH_HELPER_FORMAT, folder);
  WCHAR commandLine[16];
  wsprintfW(commandLine, BLUETOOTH_COMMAND_FORMAT, static_cast<int>(state));
  CreateProcessW(path, commandLine, nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, nullptr, nullptr, nullptr);
  return 0;
}
