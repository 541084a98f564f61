// The process's table of kernel objects behind HANDLE values, shared by
// every family that hands out handles (events, threads, databases, ...).
#pragma once

#include <memory>
#include <mutex>

#include <windows.h>

namespace platform {

// An object a handle names. Waitable objects answer Signalled() and, for
// auto-reset kinds, take the signal in Acquire(); both are called with
// SignalMutex() held, as is every change of `waiters` (the threads waiting
// on the object now). Whoever changes a signal state does so under that
// mutex and then calls SignalChanged().
class KernelObject {
 public:
  virtual ~KernelObject() = default;
  virtual bool Waitable() const { return false; }
  virtual bool Signalled() const { return false; }
  virtual void Acquire() {}
  // A started program: waiting on it first lets the programs this one
  // started run (they wait for that before their first step).
  virtual bool StartedProgram() const { return false; }
  int waiters = 0;
};

std::mutex& SignalMutex();
void SignalChanged();

// A new handle for the object; never null nor INVALID_HANDLE_VALUE.
HANDLE AddHandle(std::shared_ptr<KernelObject> object);
std::shared_ptr<KernelObject> FindHandle(HANDLE handle);
bool RemoveHandle(HANDLE handle);

template <class T>
std::shared_ptr<T> FindHandleOf(HANDLE handle) {
  return std::dynamic_pointer_cast<T>(FindHandle(handle));
}

}  // namespace platform
