// The Widcomm stack's tray window, which the phone provides on a Widcomm
// device: WM_COMMAND 0x1002 switches the stack on, which it reports in
// "StackMode" about half a second later (program time, so virtual when
// headless); 0x1001 switches it off at once.
#include <cstdio>
#include <mutex>

#include <windows.h>

#include "../device/call_failure.h"
#include "../kernel/journal.h"
#include "../kernel/program.h"
#include "../user/window_model.h"
#include "phone_state.h"

namespace platform {

namespace {

const WCHAR kTrayClass[] = u"WCE_BTTRAY";
const WCHAR kTrayTitle[] = u"Bluetooth Console";
const WORD kStackOff = 0x1001;
const WORD kStackOn = 0x1002;
const UINT_PTR kStartTimer = 1;
const UINT kStartMs = 500;

std::mutex g_trayMutex;
HWND g_tray = nullptr;
bool g_starting = false;  // switched on, not yet reported

// The stack reports itself on once its start-up is over.
void FinishStart() {
  {
    std::lock_guard<std::mutex> lock(g_trayMutex);
    if (!g_starting) return;
    g_starting = false;
  }
  SetWidcommStackMode(1);
}

LRESULT CALLBACK TrayProc(HWND window, UINT message, WPARAM wParam, LPARAM) try {
  if (message == WM_TIMER && wParam == kStartTimer) {
    KillTimer(window, kStartTimer);
    FinishStart();
    return 0;
  }
  if (message != WM_COMMAND) return 0;
  const WORD command = LOWORD(wParam);
  char text[48];
  std::snprintf(text, sizeof text, "WCE_BTTRAY WM_COMMAND 0x%X", command);
  JournalAppend(text);
  if (command == kStackOn) {
    {
      std::lock_guard<std::mutex> lock(g_trayMutex);
      g_starting = true;
    }
    SetTimer(window, kStartTimer, kStartMs, nullptr);
  } else if (command == kStackOff) {
    {
      std::lock_guard<std::mutex> lock(g_trayMutex);
      g_starting = false;
    }
    KillTimer(window, kStartTimer);
    SetWidcommStackMode(0);
  }
  return 0;
} catch (...) {
  return platform::FailedCall(LRESULT{0});
}

}  // namespace

void StartPhoneHardware() {
  if (DeviceValue(kBluetoothStack).value_or("") != "widcomm") return;
  std::lock_guard<std::mutex> lock(g_trayMutex);
  if (g_tray) return;
  g_tray = RegisterPlatformWindow(kTrayClass, kTrayTitle, TrayProc);
  // The stack lives outside the program: a start it was asked for
  // completes even when the program ends first.
  AtProgramExit(FinishStart);
}

}  // namespace platform
