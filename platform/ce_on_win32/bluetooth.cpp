// Bluetooth: the Microsoft stack's radio mode ("BluetoothMode"), and on a
// phone with the Widcomm stack ("BluetoothStack" "widcomm") its tray window,
// which the CE layer creates in the program that looks for it: WM_COMMAND
// 0x1002 switches the stack on, 0x1001 off, reported in its registry value
// "StackMode". Here the stack's start is over at once; on the phone it takes
// about half a second.
#include <string>

#include <bthutil.h>

#include "../portable/widcomm_stack.h"
#include "desktop_calls.h"
#include "layer_lock.h"
#include "phone_hardware.h"
#include "phone_state_names.h"

namespace {

bool MicrosoftStack() { return ce_layer::PhoneText(nullptr, ce_layer::kBluetoothStack, L"microsoft") == L"microsoft"; }

LRESULT CALLBACK TrayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COMMAND) return DefWindowProcW(window, message, wParam, lParam);
  const WORD command = LOWORD(wParam);
  ce_layer::JournalAppend(portable::WidcommTrayCommandText(command));
  if (command == portable::kWidcommStackOn) portable::SetWidcommStackMode(1);
  if (command == portable::kWidcommStackOff) portable::SetWidcommStackMode(0);
  return 0;
}

ce_layer::LayerLock g_trayLock;
HWND g_tray = nullptr;

// The tray window of this program, created at the first look for it.
HWND TrayWindow() {
  ce_layer::LayerLockHold lock(g_trayLock);
  if (g_tray) return g_tray;
  WNDCLASSW trayClass = {};
  trayClass.lpfnWndProc = TrayProc;
  trayClass.hInstance = GetModuleHandleW(nullptr);
  trayClass.lpszClassName = portable::kWidcommTrayClass;
  RegisterClassW(&trayClass);
  g_tray = CreateWindowExW(0, portable::kWidcommTrayClass, portable::kWidcommTrayTitle, WS_POPUP, 0, 0, 0, 0, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
  return g_tray;
}

}  // namespace

int BthSetMode(DWORD dwMode) {
  int result = ERROR_SUCCESS;
  if (!MicrosoftStack())
    result = ERROR_SERVICE_NOT_ACTIVE;
  else if (dwMode > BTH_DISCOVERABLE)
    result = ERROR_INVALID_PARAMETER;
  if (result == ERROR_SUCCESS) ce_layer::SetPhoneDword(nullptr, ce_layer::kBluetoothMode, dwMode);
  ce_layer::JournalAppend("BthSetMode " + std::to_string(dwMode) + (result == ERROR_SUCCESS ? "" : " failed"));
  return result;
}

int BthGetMode(DWORD* pdwMode) {
  if (!MicrosoftStack()) return ERROR_SERVICE_NOT_ACTIVE;
  if (!pdwMode) return ERROR_INVALID_PARAMETER;
  *pdwMode = ce_layer::PhoneDword(nullptr, ce_layer::kBluetoothMode, BTH_POWER_OFF);
  return ERROR_SUCCESS;
}

HWND PhoneFindWindowW(LPCWSTR className, LPCWSTR windowName) {
  const bool tray = className && windowName && wcscmp(className, portable::kWidcommTrayClass) == 0 &&
                    wcscmp(windowName, portable::kWidcommTrayTitle) == 0;
  if (tray && ce_layer::PhoneText(nullptr, ce_layer::kBluetoothStack, L"microsoft") == L"widcomm")
    return TrayWindow();
  return FindWindowW(className, windowName);
}
