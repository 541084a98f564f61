// The Widcomm stack's tray window, which the phone provides on a Widcomm
// device: WM_COMMAND 0x1002 switches the stack on, which it reports in
// "StackMode" about half a second later (program time, so virtual when
// headless); 0x1001 switches it off at once.
#include <mutex>

#include <windows.h>

#include "../device/call_failure.h"
#include "../kernel/journal.h"
#include "../kernel/program.h"
#include "../portable/widcomm_stack.h"
#include "../user/window_model.h"
#include "phone_state.h"

namespace platform {

namespace {

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
  portable::SetWidcommStackMode(1);
}

LRESULT CALLBACK TrayProc(HWND window, UINT message, WPARAM wParam, LPARAM) try {
  if (message == WM_TIMER && wParam == kStartTimer) {
    KillTimer(window, kStartTimer);
    FinishStart();
    return 0;
  }
  if (message != WM_COMMAND) return 0;
  const WORD command = LOWORD(wParam);
  JournalAppend(portable::WidcommTrayCommandText(command));
  if (command == portable::kWidcommStackOn) {
    {
      std::lock_guard<std::mutex> lock(g_trayMutex);
      g_starting = true;
    }
    SetTimer(window, kStartTimer, kStartMs, nullptr);
  } else if (command == portable::kWidcommStackOff) {
    {
      std::lock_guard<std::mutex> lock(g_trayMutex);
      g_starting = false;
    }
    KillTimer(window, kStartTimer);
    portable::SetWidcommStackMode(0);
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
  g_tray = RegisterPlatformWindow(portable::kWidcommTrayClass, portable::kWidcommTrayTitle, TrayProc);
  // The stack lives outside the program: a start it was asked for
  // completes even when the program ends first.
  AtProgramExit(FinishStart);
}

}  // namespace platform
