// Kestrow, the Bluetooth helper: started with a mode's Bluetooth state as
// its command line, it switches the Microsoft stack's mode and the Widcomm
// stack half a second after its start, from a hidden dialog's timer, and
// ends on the next tick.
#include <windows.h>
#include <bthutil.h>

#include "helpers/kestrow/resource.h"
#include "helpers/kestrow/widcomm_stack.h"
#include "phone/device_states.h"

#define TICK_TIMER 2
#define TICK_MS 500
// The tick counter starts at 1: the first tick acts, the second ends.
#define TICK_ACTS 2
#define TICK_ENDS 3

static DWORD TickCounter = 1;
static LONG Action = BT_WIDCOMM_ON;

// The action for a state: the Microsoft stack's mode, the Widcomm stack
// off for its modes or on for its own state; "No change" and any other
// value do nothing.
static void PerformAction(LONG action) {
  switch (action) {
    case BT_OFF:
      BthSetMode(BTH_POWER_OFF);
      SwitchWidcommStack(FALSE);
      break;
    case BT_CONNECTABLE:
      SwitchWidcommStack(FALSE);
      BthSetMode(BTH_CONNECTABLE);
      break;
    case BT_DISCOVERABLE:
      SwitchWidcommStack(FALSE);
      BthSetMode(BTH_DISCOVERABLE);
      break;
    case BT_WIDCOMM_ON:
      BthSetMode(BTH_POWER_OFF);
      SwitchWidcommStack(TRUE);
      break;
  }
}

static INT_PTR CALLBACK KestrowDialogProc(HWND, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_TIMER:
      // The wait for the Widcomm stack dispatches this dialog's messages,
      // so a tick may come while the first one still acts: only the first
      // one acts, whichever tick comes next ends the program.
      ++TickCounter;
      if (TickCounter == TICK_ACTS) PerformAction(Action);
      if (TickCounter == TICK_ENDS) PostQuitMessage(0);
      return 1;
    case WM_COMMAND:
      if (HIWORD(wParam) == 0) {
        switch (LOWORD(wParam)) {
          case IDC_STACK_ON: SwitchWidcommStack(TRUE); break;
          case IDC_STACK_OFF: SwitchWidcommStack(FALSE); break;
          case IDC_QUIT: PostQuitMessage(0); break;
        }
      }
      return 1;
    case WM_CLOSE:
      PostQuitMessage(0);
      return 1;
  }
  return 0;
}

// The hidden dialog from its template, with no owner.
static HWND CreateHiddenDialog(HINSTANCE instance) {
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDD_KESTROW), RT_DIALOG);
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(instance, found);
  if (!loaded) return nullptr;
  auto dialogTemplate = static_cast<LPCDLGTEMPLATEW>(LockResource(loaded));
  if (!dialogTemplate) return nullptr;
  return CreateDialogIndirectParamW(instance, dialogTemplate, nullptr, KestrowDialogProc, 0);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
  HWND dialog = CreateHiddenDialog(instance);
  if (!dialog) return 0;
  WidcommWaitWindow = dialog;
  TickCounter = 1;
  Action = (!commandLine || !*commandLine) ? BT_WIDCOMM_ON : _wtol(commandLine);
  SetTimer(dialog, TICK_TIMER, TICK_MS, nullptr);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
