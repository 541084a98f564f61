// Handles and waits: the table of kernel objects, CloseHandle,
// WaitForSingleObject/WaitForMultipleObjects and critical sections.
#include "kernel_objects.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <unordered_map>
#include <vector>

#include <windows.h>

#include "processes.h"

namespace platform {

namespace {

std::mutex g_tableMutex;
std::unordered_map<uintptr_t, std::shared_ptr<KernelObject>> g_table;
uintptr_t g_nextHandle = 0x1000;

std::mutex g_signalMutex;
std::condition_variable g_signalChanged;

}  // namespace

std::mutex& SignalMutex() { return g_signalMutex; }

void SignalChanged() { g_signalChanged.notify_all(); }

HANDLE AddHandle(std::shared_ptr<KernelObject> object) {
  std::lock_guard<std::mutex> lock(g_tableMutex);
  uintptr_t value = g_nextHandle;
  g_nextHandle += 4;
  g_table.emplace(value, std::move(object));
  return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> FindHandle(HANDLE handle) {
  std::lock_guard<std::mutex> lock(g_tableMutex);
  auto found = g_table.find(reinterpret_cast<uintptr_t>(handle));
  return found == g_table.end() ? nullptr : found->second;
}

bool RemoveHandle(HANDLE handle) {
  std::shared_ptr<KernelObject> object;  // released outside the table lock
  std::lock_guard<std::mutex> lock(g_tableMutex);
  auto found = g_table.find(reinterpret_cast<uintptr_t>(handle));
  if (found == g_table.end()) return false;
  object = std::move(found->second);
  g_table.erase(found);
  return true;
}

}  // namespace platform

BOOL CloseHandle(HANDLE hObject) {
  if (!platform::RemoveHandle(hObject)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL fWaitAll, DWORD dwMilliseconds) {
  if (!lpHandles || nCount == 0 || nCount > MAXIMUM_WAIT_OBJECTS || fWaitAll) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::vector<std::shared_ptr<platform::KernelObject>> objects;
  for (DWORD i = 0; i < nCount; ++i) {
    auto object = platform::FindHandle(lpHandles[i]);
    if (!object || !object->Waitable()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return WAIT_FAILED;
    }
    objects.push_back(std::move(object));
  }

  if (dwMilliseconds != 0)
    for (auto& object : objects)
      if (object->StartedProgram()) {
        platform::SettleStartedPrograms();
        break;
      }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(dwMilliseconds);
  std::unique_lock<std::mutex> lock(platform::g_signalMutex);
  for (auto& object : objects) ++object->waiters;
  DWORD result = WAIT_TIMEOUT;
  auto takeSignalled = [&]() {
    for (DWORD i = 0; i < nCount; ++i) {
      if (objects[i]->Signalled()) {
        objects[i]->Acquire();
        result = WAIT_OBJECT_0 + i;
        return true;
      }
    }
    return false;
  };
  while (!takeSignalled()) {
    if (dwMilliseconds == INFINITE) {
      platform::g_signalChanged.wait(lock);
    } else if (platform::g_signalChanged.wait_until(lock, deadline) == std::cv_status::timeout) {
      takeSignalled();  // the signal may have come with the deadline
      break;
    }
  }
  for (auto& object : objects) --object->waiters;
  return result;
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  return WaitForMultipleObjects(1, &hHandle, FALSE, dwMilliseconds);
}

void InitializeCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  if (lpCriticalSection) lpCriticalSection->LockImplementation = new std::recursive_mutex;
}

void DeleteCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  if (!lpCriticalSection) return;
  delete static_cast<std::recursive_mutex*>(lpCriticalSection->LockImplementation);
  lpCriticalSection->LockImplementation = nullptr;
}

void EnterCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  static_cast<std::recursive_mutex*>(lpCriticalSection->LockImplementation)->lock();
}

void LeaveCriticalSection(LPCRITICAL_SECTION lpCriticalSection) {
  static_cast<std::recursive_mutex*>(lpCriticalSection->LockImplementation)->unlock();
}
