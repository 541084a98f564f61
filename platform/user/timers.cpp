// SetTimer and KillTimer. A timer is not a queued message: when it falls due
// the loop hands out one WM_TIMER for it and counts its next time from then,
// as Windows does, so a slow program never sees a backlog of ticks.
#include "timers.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "../kernel/clock.h"
#include "message_loop.h"
#include "window_model.h"

namespace platform {

namespace {

// Windows' USER_TIMER_MINIMUM and USER_TIMER_MAXIMUM.
constexpr UINT kShortestPeriod = 10;
constexpr UINT kLongestPeriod = 0x7FFFFFFF;
// Identifiers the platform hands out for thread timers.
constexpr UINT_PTR kFirstThreadTimerId = 0x7F01;

struct Timer {
  std::thread::id thread;
  HWND window;
  UINT_PTR id;
  UINT period;
  int64_t due;
  TIMERPROC proc;
  uint64_t order;  // breaks ties between timers due at the same time
  bool platformWindow;
};

std::mutex g_lock;
std::vector<Timer> g_timers;
UINT_PTR g_nextThreadTimerId = kFirstThreadTimerId;
uint64_t g_nextOrder = 0;

bool Earlier(const Timer& a, const Timer& b) { return a.due != b.due ? a.due < b.due : a.order < b.order; }

}  // namespace

bool MessageFilter::Accepts(HWND target, UINT message) const {
  if (first != 0 || last != 0) {
    if (message < first || message > last) return false;
  }
  if (!window) return true;
  for (HWND w = target; w; ) {
    if (w == window) return true;
    Window* record = FindWindowRecord(w);
    w = record ? record->parent : nullptr;
  }
  return false;
}

bool TakeDueTimer(std::thread::id thread, const MessageFilter& filter, int64_t nowMs, bool remove, MSG* msg) {
  std::lock_guard<std::mutex> lock(g_lock);
  Timer* best = nullptr;
  for (Timer& t : g_timers) {
    if (t.platformWindow || t.thread != thread || t.due > nowMs) continue;
    if (!filter.Accepts(t.window, WM_TIMER)) continue;
    if (!best || Earlier(t, *best)) best = &t;
  }
  if (!best) return false;
  msg->hwnd = best->window;
  msg->message = WM_TIMER;
  msg->wParam = best->id;
  msg->lParam = reinterpret_cast<LPARAM>(best->proc);
  if (remove) {
    best->due = nowMs + best->period;
    best->order = g_nextOrder++;
  }
  return true;
}

std::optional<int64_t> NextTimerDue(std::thread::id thread, const MessageFilter& filter) {
  std::lock_guard<std::mutex> lock(g_lock);
  std::optional<int64_t> next;
  for (const Timer& t : g_timers) {
    bool counts = t.platformWindow || (t.thread == thread && filter.Accepts(t.window, WM_TIMER));
    if (counts && (!next || t.due < *next)) next = t.due;
  }
  return next;
}

void RunPlatformTimers(int64_t nowMs) {
  std::vector<Timer> due;
  {
    std::lock_guard<std::mutex> lock(g_lock);
    for (Timer& t : g_timers) {
      if (!t.platformWindow || t.due > nowMs) continue;
      due.push_back(t);
      t.due = nowMs + t.period;
    }
  }
  std::sort(due.begin(), due.end(), Earlier);
  for (const Timer& t : due) {
    if (t.proc) {
      t.proc(t.window, WM_TIMER, t.id, static_cast<DWORD>(ProgramElapsedMs()));
    } else if (Window* w = FindWindowRecord(t.window); w && w->proc) {
      w->proc(t.window, WM_TIMER, t.id, 0);
    }
  }
}

void KillWindowTimers(HWND window) {
  std::lock_guard<std::mutex> lock(g_lock);
  g_timers.erase(std::remove_if(g_timers.begin(), g_timers.end(), [&](const Timer& t) { return t.window == window; }),
                 g_timers.end());
}

}  // namespace platform

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC timerProc) {
  using namespace platform;
  Window* record = nullptr;
  if (window) {
    record = FindWindowRecord(window);
    if (!record) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
  }
  UINT period = std::clamp(elapse, kShortestPeriod, kLongestPeriod);
  std::thread::id thread = std::this_thread::get_id();
  int64_t now = ProgramElapsedMs();
  UINT_PTR result;
  {
    std::lock_guard<std::mutex> lock(g_lock);
    // A window timer with the same window and identifier is replaced; so is
    // a thread timer of this thread whose identifier the platform handed out.
    Timer* existing = nullptr;
    for (Timer& t : g_timers) {
      bool same = window ? (t.window == window && t.id == id) : (!t.window && t.thread == thread && t.id == id);
      if (same) existing = &t;
    }
    if (!existing) {
      Timer fresh{thread, window, window ? id : g_nextThreadTimerId++, period, 0, timerProc, 0, false};
      fresh.platformWindow = record && record->platformProvided;
      g_timers.push_back(fresh);
      existing = &g_timers.back();
    }
    existing->period = period;
    existing->proc = timerProc;
    existing->due = now + period;
    existing->order = g_nextOrder++;
    result = existing->id;
  }
  WakeMessageLoop(thread);
  if (window) return id ? id : 1;
  return result;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
  using namespace platform;
  std::thread::id thread = std::this_thread::get_id();
  std::lock_guard<std::mutex> lock(g_lock);
  auto it = std::find_if(g_timers.begin(), g_timers.end(), [&](const Timer& t) {
    return window ? (t.window == window && t.id == id) : (!t.window && t.thread == thread && t.id == id);
  });
  if (it == g_timers.end()) return FALSE;
  g_timers.erase(it);
  return TRUE;
}
