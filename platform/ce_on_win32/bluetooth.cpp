// Bluetooth: the Microsoft stack's radio mode ("BluetoothMode"), and on a
// phone with the Widcomm stack ("BluetoothStack" "widcomm") its tray window,
// which the CE layer creates in the program that looks for it: WM_COMMAND
// 0x1002 switches the stack on, 0x1001 off, reported in its registry value
// "StackMode". Here the stack's start is over at once; on the phone it takes
// about half a second.
#include <cstdio>
#include <string>

#include <bthutil.h>

#include "desktop_calls.h"
#include "layer_lock.h"
#include "phone_hardware.h"
#include "phone_state_names.h"

namespace {

const WCHAR kTrayClass[] = L"WCE_BTTRAY";
const WCHAR kTrayTitle[] = L"Bluetooth Console";
const WORD kStackOff = 0x1001;
const WORD kStackOn = 0x1002;
const WCHAR kWidcommGeneralKey[] = L"SOFTWARE\\Widcomm\\BtConfig\\General";
const WCHAR kStackMode[] = L"StackMode";

bool MicrosoftStack() { return ce_layer::PhoneText(nullptr, ce_layer::kBluetoothStack, L"microsoft") == L"microsoft"; }

void SetWidcommStackMode(DWORD mode) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kWidcommGeneralKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExW(key, kStackMode, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mode), sizeof mode);
  RegCloseKey(key);
}

LRESULT CALLBACK TrayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COMMAND) return DefWindowProcW(window, message, wParam, lParam);
  const WORD command = LOWORD(wParam);
  char text[48];
  std::snprintf(text, sizeof text, "WCE_BTTRAY WM_COMMAND 0x%X", command);
  ce_layer::JournalAppend(text);
  if (command == kStackOn) SetWidcommStackMode(1);
  if (command == kStackOff) SetWidcommStackMode(0);
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
  trayClass.lpszClassName = kTrayClass;
  RegisterClassW(&trayClass);
  g_tray = CreateWindowExW(0, kTrayClass, kTrayTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
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
  const bool tray = className && windowName && wcscmp(className, kTrayClass) == 0 &&
                    wcscmp(windowName, kTrayTitle) == 0;
  if (tray && ce_layer::PhoneText(nullptr, ce_layer::kBluetoothStack, L"microsoft") == L"widcomm")
    return TrayWindow();
  return FindWindowW(className, windowName);
}
