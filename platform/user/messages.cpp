// The message loop: per-thread queues of posted messages, GetMessageW and
// PeekMessageW over posted messages, the quit request, paint and timers,
// the stand-in user, and time (virtual when headless, real otherwise).
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <mutex>

#include <windows.h>

#include "../kernel/clock.h"
#include "../kernel/processes.h"
#include "../kernel/program.h"
#include "message_loop.h"
#include "timers.h"
#include "window_model.h"

namespace platform {

namespace {

struct ThreadQueue {
  std::deque<MSG> posted;
  bool quit = false;
  int quitCode = 0;
  std::condition_variable changed;
};

std::mutex g_lock;
std::map<std::thread::id, ThreadQueue> g_queues;
std::function<void(int64_t)> g_hostWaiter;
std::function<void()> g_hostWaker;
std::function<void()> g_screenInput;
StandInUser g_user;
bool g_switchOffWhenUserDone = false;

ThreadQueue& QueueOf(std::thread::id thread) { return g_queues[thread]; }

// What the thread has for the caller, in Windows' order: posted messages,
// then the quit request, then paint, then due timers.
bool TakeMessage(const MessageFilter& filter, bool remove, MSG* msg) {
  std::thread::id self = std::this_thread::get_id();
  std::function<void()> screenInput;
  {
    std::lock_guard<std::mutex> lock(g_lock);
    screenInput = g_screenInput;
  }
  if (screenInput) screenInput();
  int64_t now = ProgramElapsedMs();
  RunPlatformTimers(now);
  {
    std::lock_guard<std::mutex> lock(g_lock);
    ThreadQueue& queue = QueueOf(self);
    for (auto it = queue.posted.begin(); it != queue.posted.end(); ++it) {
      // Thread messages (no window) go only to a caller that filters no window.
      bool accepted = it->hwnd ? filter.Accepts(it->hwnd, it->message)
                               : (!filter.window && filter.Accepts(nullptr, it->message));
      if (!accepted) continue;
      *msg = *it;
      if (remove) queue.posted.erase(it);
      return true;
    }
    // The quit request is a thread message: a caller that waits on one
    // window's messages leaves it for the main loop, whatever the range.
    if (queue.quit && !filter.window) {
      *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0, 0, {0, 0}};
      if (remove) queue.quit = false;
      return true;
    }
  }
  for (HWND window : WindowsNeedingPaint(self)) {
    if (!filter.Accepts(window, WM_PAINT)) continue;
    *msg = MSG{window, WM_PAINT, 0, 0, static_cast<DWORD>(now), {0, 0}};
    return true;
  }
  if (TakeDueTimer(self, filter, now, remove, msg)) {
    msg->time = static_cast<DWORD>(now);
    msg->pt = {0, 0};
    return true;
  }
  return false;
}

// Real time: sleeps until a message is posted or `untilMs` (program time) comes.
void WaitRealTime(std::optional<int64_t> untilMs) {
  int64_t timeout = -1;
  if (untilMs) timeout = std::max<int64_t>(0, *untilMs - ProgramElapsedMs());
  std::function<void(int64_t)> waiter;
  {
    std::lock_guard<std::mutex> lock(g_lock);
    waiter = g_hostWaiter;
  }
  if (waiter) {
    waiter(timeout);
    return;
  }
  std::unique_lock<std::mutex> lock(g_lock);
  ThreadQueue& queue = QueueOf(std::this_thread::get_id());
  if (!queue.posted.empty() || queue.quit) return;
  if (timeout < 0)
    queue.changed.wait(lock);
  else
    queue.changed.wait_for(lock, std::chrono::milliseconds(timeout));
}

// Whether the stand-in user has actions left, or a last `wait` that lasts
// beyond `now`.
bool UserBusy(const StandInUser& user, int64_t now) {
  return user.pending && (user.pending() || user.readyAt() > now);
}

// Waits for the next message the filter accepts. Whenever nothing is there
// the user acts (the stand-in's next action), or time passes to the next
// timer: at once when headless, in real time otherwise. A headless program
// that waits on nothing, its user done, is switched off: it ends with 0; so
// is the Today screen, whose timers never run out, once its user is done.
void WaitForMessage(const MessageFilter& filter, bool remove, MSG* msg) {
  for (;;) {
    if (TakeMessage(filter, remove, msg)) return;
    StandInUser user;
    bool switchOff;
    {
      std::lock_guard<std::mutex> lock(g_lock);
      user = g_user;
      switchOff = g_switchOffWhenUserDone;
    }
    int64_t now = ProgramElapsedMs();
    bool acting = user.pending && user.pending();
    if (acting && user.readyAt() <= now) {
      SettleStartedPrograms();
      user.actNext();
      continue;
    }
    std::optional<int64_t> next = NextTimerDue(std::this_thread::get_id(), filter);
    if (acting && (!next || user.readyAt() < *next)) next = user.readyAt();
    if (VirtualTime()) {
      if (!next || (switchOff && !UserBusy(user, now))) EndProgram(0);
      AdvanceVirtualTime(*next - now, true);
    } else {
      WaitRealTime(next);
    }
  }
}

bool PostTo(std::thread::id thread, const MSG& msg) {
  std::function<void()> waker;
  {
    std::lock_guard<std::mutex> lock(g_lock);
    ThreadQueue& queue = QueueOf(thread);
    queue.posted.push_back(msg);
    queue.changed.notify_all();
    waker = g_hostWaker;
  }
  if (waker) waker();
  return true;
}

}  // namespace

void SetHostWaiter(std::function<void(int64_t timeoutMs)> waiter, std::function<void()> waker) {
  std::lock_guard<std::mutex> lock(g_lock);
  g_hostWaiter = std::move(waiter);
  g_hostWaker = std::move(waker);
}

void SetScreenInputTaker(std::function<void()> take) {
  std::lock_guard<std::mutex> lock(g_lock);
  g_screenInput = std::move(take);
}

void SetStandInUser(StandInUser user) {
  std::lock_guard<std::mutex> lock(g_lock);
  g_user = std::move(user);
}

void SwitchOffWhenUserDone() {
  std::lock_guard<std::mutex> lock(g_lock);
  g_switchOffWhenUserDone = true;
}

void WakeMessageLoop(std::thread::id thread) {
  std::function<void()> waker;
  {
    std::lock_guard<std::mutex> lock(g_lock);
    QueueOf(thread).changed.notify_all();
    waker = g_hostWaker;
  }
  if (waker) waker();
}

void EndProgram(int status) {
  RunProgramExit();
  std::fflush(stdout);
  std::fflush(stderr);
  std::exit(status);
}

}  // namespace platform

BOOL GetMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
  using namespace platform;
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  if (window && !FindWindowRecord(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return -1;
  }
  WaitForMessage(MessageFilter{window, filterMin, filterMax}, true, msg);
  return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  using namespace platform;
  if (!msg) return FALSE;
  if (window && !FindWindowRecord(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return TakeMessage(MessageFilter{window, filterMin, filterMax}, (removeFlags & PM_REMOVE) != 0, msg);
}

BOOL WaitMessage() {
  MSG msg;
  platform::WaitForMessage(platform::MessageFilter{}, false, &msg);
  return TRUE;
}

// Keyboard messages arrive already as characters (the phone's input panel
// and the automation type characters), so there is nothing to translate.
BOOL TranslateMessage(const MSG* msg) { return msg && msg->message == WM_CHAR; }

LRESULT DispatchMessageW(const MSG* msg) {
  using namespace platform;
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    proc(msg->hwnd, WM_TIMER, msg->wParam, static_cast<DWORD>(ProgramElapsedMs()));
    return 0;
  }
  if (!msg->hwnd) return 0;
  Window* record = FindWindowRecord(msg->hwnd);
  if (!record || !record->proc) return 0;
  return record->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  using namespace platform;
  MSG msg{window, message, wParam, lParam, static_cast<DWORD>(ProgramElapsedMs()), {0, 0}};
  if (!window) return PostTo(std::this_thread::get_id(), msg);
  Window* record = FindWindowRecord(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  // A platform window belongs to no program thread: its messages wait in
  // the poster's queue and reach it through that thread's loop.
  return PostTo(record->platformProvided ? std::this_thread::get_id() : record->thread, msg);
}

VOID PostQuitMessage(int exitCode) {
  using namespace platform;
  std::lock_guard<std::mutex> lock(g_lock);
  ThreadQueue& queue = QueueOf(std::this_thread::get_id());
  queue.quit = true;
  queue.quitCode = exitCode;
}
