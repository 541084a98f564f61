// Threads: CreateThread runs the routine on a real thread of the process.
// The thread has its own connection to the device, closed before the thread
// counts as finished, so a waiter may remove the device right after. The
// program's end waits for the threads still running (at most five seconds),
// so that their work, such as a radio switch, is on the device when it ends.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <mutex>
#include <thread>

#include <windows.h>

#include "../device/device.h"
#include "kernel_objects.h"
#include "program.h"

namespace platform {

namespace {

class ThreadObject : public KernelObject {
 public:
  bool Waitable() const override { return true; }
  bool Signalled() const override { return finished; }
  bool finished = false;  // under SignalMutex()
  DWORD exitCode = STILL_ACTIVE;
};

std::atomic<DWORD> g_nextThreadId{1};
thread_local DWORD t_threadId = 0;

// Threads started and not yet finished; the program's end waits on it.
std::mutex g_runningMutex;
std::condition_variable g_runningChanged;
int g_running = 0;
std::once_flag g_exitWaitRegistered;
constexpr auto kExitWait = std::chrono::seconds(5);

void WaitForThreadsAtExit() {
  std::unique_lock<std::mutex> lock(g_runningMutex);
  g_runningChanged.wait_for(lock, kExitWait, [] { return g_running == 0; });
}

void CountThread(int change) {
  std::lock_guard<std::mutex> lock(g_runningMutex);
  g_running += change;
  if (g_running == 0) g_runningChanged.notify_all();
}

}  // namespace

}  // namespace platform

DWORD GetCurrentThreadId() {
  if (!platform::t_threadId) platform::t_threadId = platform::g_nextThreadId++;
  return platform::t_threadId;
}

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, DWORD, LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter,
                    DWORD dwCreationFlags, LPDWORD lpThreadId) {
  if (!lpStartAddress) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (dwCreationFlags & CREATE_SUSPENDED) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  auto object = std::make_shared<platform::ThreadObject>();
  const DWORD id = platform::g_nextThreadId++;
  std::call_once(platform::g_exitWaitRegistered, [] { platform::AtProgramExit(platform::WaitForThreadsAtExit); });
  platform::CountThread(1);
  try {
    std::thread([object, id, lpStartAddress, lpParameter] {
      platform::t_threadId = id;
      DWORD code = 1;
      try {
        code = lpStartAddress(lpParameter);
      } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: thread %u: %s\n", platform::ProgramName().c_str(), id, e.what());
      }
      platform::CloseDeviceDb();
      {
        std::lock_guard<std::mutex> lock(platform::SignalMutex());
        object->exitCode = code;
        object->finished = true;
      }
      platform::SignalChanged();
      platform::CountThread(-1);
    }).detach();
  } catch (const std::system_error&) {
    platform::CountThread(-1);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (lpThreadId) *lpThreadId = id;
  return platform::AddHandle(object);
}

BOOL GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode) {
  auto thread = platform::FindHandleOf<platform::ThreadObject>(hThread);
  if (!thread || !lpExitCode) {
    SetLastError(thread ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::lock_guard<std::mutex> lock(platform::SignalMutex());
  *lpExitCode = thread->exitCode;
  return TRUE;
}
