// Driving the Widcomm stack: it reports its state in "StackMode" and takes
// its orders from its tray window. Switching on takes the stack a moment,
// so the helper waits, dispatching its own dialog's messages meanwhile.
#include "helpers/kestrow/widcomm_stack.h"

#include "store/registry_values.h"

HWND WidcommWaitWindow = nullptr;

int ReadWidcommStackMode() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, WIDCOMM_GENERAL_KEY, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
    return -1;
  DWORD mode = 0;
  ReadTypedDwordValue(key, WIDCOMM_STACK_MODE_VALUE, &mode);
  RegCloseKey(key);
  return mode != 0 ? 1 : 0;
}

// Dispatches every pending message of the wait window in the range of
// system messages, without translation.
static void DispatchWaitWindowMessages() {
  MSG msg;
  while (PeekMessageW(&msg, WidcommWaitWindow, 0, 0x3FF, PM_REMOVE)) DispatchMessageW(&msg);
}

static int SwitchWidcommStackOn() {
  const int mode = ReadWidcommStackMode();
  if (mode == -1) return WIDCOMM_NO_KEY;
  HWND tray = FindWindowW(WIDCOMM_TRAY_CLASS, WIDCOMM_TRAY_TITLE);
  if (!tray) return WIDCOMM_NO_TRAY;
  if (mode != 0) return WIDCOMM_SWITCHED;
  SendMessageW(tray, WM_COMMAND, WIDCOMM_COMMAND_STACK_ON, 0);

  int passes = 0;
  while (passes < WIDCOMM_WAIT_PASSES) {
    ++passes;
    if (ReadWidcommStackMode() == 1) break;
    DispatchWaitWindowMessages();
    Sleep(WIDCOMM_PASS_MS);
  }
  return passes > WIDCOMM_PATIENT_PASSES ? WIDCOMM_TOO_SLOW : WIDCOMM_SWITCHED;
}

static int SwitchWidcommStackOff() {
  if (ReadWidcommStackMode() != 1) return WIDCOMM_SWITCHED;
  HWND tray = FindWindowW(WIDCOMM_TRAY_CLASS, WIDCOMM_TRAY_TITLE);
  if (tray) SendMessageW(tray, WM_COMMAND, WIDCOMM_COMMAND_STACK_OFF, 0);
  return WIDCOMM_SWITCHED;
}

int SwitchWidcommStack(BOOL on) { return on ? SwitchWidcommStackOn() : SwitchWidcommStackOff(); }
