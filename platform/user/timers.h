// Timers of the message loop: thread timers (no window, the platform picks
// the identifier) and window timers, due in the program's time.
#pragma once

#include <cstdint>
#include <optional>
#include <thread>

#include <windows.h>

namespace platform {

// Which messages a caller of GetMessageW/PeekMessageW takes.
struct MessageFilter {
  HWND window = nullptr;  // null: every window of the thread and thread messages
  UINT first = 0;
  UINT last = 0;          // first = last = 0: every message
  bool Accepts(HWND target, UINT message) const;
};

// Fills `msg` with the earliest due timer of the thread that the filter
// accepts; with `remove` the timer's next time is counted from `nowMs`.
bool TakeDueTimer(std::thread::id thread, const MessageFilter& filter, int64_t nowMs, bool remove, MSG* msg);
// When the thread's next accepted timer falls due (platform timers included).
std::optional<int64_t> NextTimerDue(std::thread::id thread, const MessageFilter& filter);
// Runs the due timers of platform-provided windows (they belong to no program thread).
void RunPlatformTimers(int64_t nowMs);
// Drops every timer of a window that is being destroyed.
void KillWindowTimers(HWND window);

}  // namespace platform
