// Bluetooth: the Microsoft stack's radio mode (BthSetMode/BthGetMode), kept
// in device_state. A Widcomm phone has no Microsoft stack, so there these
// calls fail; its own stack is driven through the tray window instead.
#include <string>

#include <bthutil.h>
#include <windows.h>

#include "../device/call_failure.h"
#include "../kernel/journal.h"
#include "../portable/widcomm_stack.h"
#include "phone_state.h"

namespace platform {

namespace {

bool MicrosoftStack() { return DeviceValue(kBluetoothStack).value_or("microsoft") == "microsoft"; }

}  // namespace

// The Microsoft stack starts switched off; so does the Widcomm stack,
// whose state is its registry value "StackMode".
void SeedBluetooth(const DeviceOptions& options) {
  SetDeviceValue(kBluetoothMode, std::to_string(BTH_POWER_OFF));
  if (options.widcomm) portable::SetWidcommStackMode(0);
}

}  // namespace platform

using namespace platform;

int BthSetMode(DWORD dwMode) try {
  int result = ERROR_SUCCESS;
  if (!MicrosoftStack())
    result = ERROR_SERVICE_NOT_ACTIVE;
  else if (dwMode > BTH_DISCOVERABLE)
    result = ERROR_INVALID_PARAMETER;
  if (result == ERROR_SUCCESS) SetDeviceValue(kBluetoothMode, std::to_string(dwMode));
  JournalAppend("BthSetMode " + std::to_string(dwMode) + (result == ERROR_SUCCESS ? "" : " failed"));
  return result;
} catch (...) {
  return static_cast<int>(platform::CurrentFailureCode());
}

int BthGetMode(DWORD* pdwMode) try {
  if (!MicrosoftStack()) return ERROR_SERVICE_NOT_ACTIVE;
  if (!pdwMode) return ERROR_INVALID_PARAMETER;
  *pdwMode = static_cast<DWORD>(DeviceInt(kBluetoothMode, BTH_POWER_OFF));
  return ERROR_SUCCESS;
} catch (...) {
  return static_cast<int>(platform::CurrentFailureCode());
}
