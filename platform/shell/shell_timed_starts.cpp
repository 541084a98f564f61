// The phone's shell, in the program that plays the Today screen: it starts
// the programs registered with CeRunAppAtTime when their time comes (once:
// a registration is used up by its start) and tells the Today window.
#include <mutex>
#include <string>

#include <emulated_shell.h>
#include <windows.h>

#include "../device/call_failure.h"
#include "../device/device.h"
#include "../kernel/clock.h"
#include "../kernel/journal.h"
#include "../kernel/processes.h"
#include "../text/utf.h"
#include "../user/message_loop.h"
#include "../user/window_model.h"
#include "shell.h"
#include "timed_starts.h"

namespace platform {

namespace {

const WCHAR kShellClass[] = u"PhoneShell";
const WCHAR kShellTitle[] = u"Timed starts";
const UINT_PTR kCheckTimer = 1;
// Registrations are to the second; a check a second finds each on time.
const UINT kCheckMs = 1000;
const WCHAR kTimedStartCommandLine[] = u"AppRunAtTime";

std::mutex g_shellMutex;
HWND g_shell = nullptr;
HWND g_notify = nullptr;

void ForgetRegistration(const TimedStart& start) {
  Statement remove(DeviceDb(), "DELETE FROM timed_starts WHERE path = ? AND start_at = ?", Statement::Cached);
  remove.Bind(1, start.path).Bind(2, start.time).Run();
}

// Starts every program whose time has come, earliest first.
void StartDuePrograms() {
  std::string now = FormatLocalTime(ProgramNowMs());
  bool started = false;
  for (const TimedStart& start : TimedStarts()) {
    if (start.time > now) break;  // the text sorts as the time does
    ForgetRegistration(start);
    JournalAppend("AppRunAtTime \"" + start.path + "\" " + now);
    if (StartInstalledProgram(Utf8ToUtf16(start.path), kTimedStartCommandLine) >= 0) started = true;
  }
  if (!started) return;
  HWND notify;
  {
    std::lock_guard<std::mutex> lock(g_shellMutex);
    notify = g_notify;
  }
  if (notify) PostMessageW(notify, WM_SHELL_TIMED_START, 0, 0);
}

LRESULT CALLBACK ShellProc(HWND, UINT message, WPARAM wParam, LPARAM) try {
  if (message == WM_TIMER && wParam == kCheckTimer) StartDuePrograms();
  return 0;
} catch (...) {
  return platform::FailedCall(LRESULT{0});
}

}  // namespace

}  // namespace platform

BOOL ShellStartTimedPrograms(HWND notify) try {
  using namespace platform;
  HWND shell;
  {
    std::lock_guard<std::mutex> lock(g_shellMutex);
    g_notify = notify;
    if (!g_shell) g_shell = RegisterPlatformWindow(kShellClass, kShellTitle, ShellProc);
    shell = g_shell;
  }
  SwitchOffWhenUserDone();
  StartDuePrograms();
  SetTimer(shell, kCheckTimer, kCheckMs, nullptr);
  return TRUE;
} catch (...) {
  return platform::FailedCall(FALSE);
}
