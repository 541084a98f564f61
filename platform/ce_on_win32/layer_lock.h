// A lock for the CE layer's process-wide state, on a slim reader/writer
// lock (the MinGW runtime's win32 thread model has no std::mutex).
#pragma once

#include <windows.h>

namespace ce_layer {

class LayerLock {
 public:
  void Acquire() { AcquireSRWLockExclusive(&lock_); }
  void Release() { ReleaseSRWLockExclusive(&lock_); }

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
};

// Holds the lock for its scope.
class LayerLockHold {
 public:
  explicit LayerLockHold(LayerLock& lock) : lock_(lock) { lock_.Acquire(); }
  ~LayerLockHold() { lock_.Release(); }
  LayerLockHold(const LayerLockHold&) = delete;
  LayerLockHold& operator=(const LayerLockHold&) = delete;

 private:
  LayerLock& lock_;
};

}  // namespace ce_layer
