// One virtual time for the programs on a headless phone, kept through their
// screen records: a child runs only up to its starter's published time and
// says so when it waits there (its `idleSeq` catches up with its `wake`);
// the starter publishes each new time, wakes its children one by one and
// waits until each is idle again or has ended. A new child loads on its own
// and waits for its first wake before its first step.
#include "lockstep.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <memory>
#include <mutex>
#include <vector>

#include "../kernel/clock.h"
#include "../kernel/display_choice.h"
#include "screen_records.h"
#include "shared_screen.h"

namespace platform {
namespace {

// How often a waiter looks whether the program it waits for has ended.
constexpr int kEndCheckMs = 2;
// How often an idle child looks whether its starter is still there.
constexpr int kStarterCheckMs = 50;
// How long a sender waits at most for a program to take in its input.
constexpr int kSettleBoundMs = 30000;

struct Child {
  pid_t pid;
  std::unique_ptr<ScreenRecord> record;  // null until the child has made it
  bool settled = false;                  // it has taken its first step
};

std::recursive_mutex g_lock;
std::unique_ptr<ScreenRecord> g_starter;
pid_t g_starterPid = 0;
std::vector<Child> g_children;

bool ChildEnded(pid_t pid) {
  siginfo_t info = {};
  if (waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return true;  // reaped
  return info.si_pid == pid;
}

bool Caught(ScreenRecordHeader& h, uint32_t wake) { return int32_t(h.idleSeq.load() - wake) >= 0; }

// Wakes a program and waits until it is idle again, or has ended, or
// (`boundMs` > 0) that long has passed: a program that never takes in what
// was sent to it does not hold its sender for ever.
void WakeAndWait(ScreenRecord& record, bool (*ended)(ScreenRecord&, pid_t), pid_t pid, int boundMs = 0) {
  ScreenRecordHeader& h = record.header();
  uint32_t wake = h.wake.fetch_add(1) + 1;
  WakeWord(h.wake);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
  while (!Caught(h, wake) && !ended(record, pid)) {
    if (boundMs > 0 && std::chrono::steady_clock::now() > deadline) return;
    WaitOnWord(h.idleSeq, h.idleSeq.load(), kEndCheckMs);
  }
}

bool OwnChildEnded(ScreenRecord&, pid_t pid) { return ChildEnded(pid); }
bool RecordEnded(ScreenRecord& record, pid_t) { return !record.Alive(); }

// Waits until a child has made its record; false when it ended first. A
// child counts itself into this program's record once its own is made, so
// the wait ends with it; the bound only looks whether the child has ended.
bool AwaitRecord(Child& child) {
  std::atomic<uint32_t>& joined = OwnScreenRecord()->header().childJoined;
  while (!child.record) {
    const uint32_t seen = joined.load();
    if (ChildEnded(child.pid)) return false;
    child.record = ScreenRecord::Open(child.pid);
    if (!child.record) WaitOnWord(joined, seen, kEndCheckMs);
  }
  return true;
}

void Settle(Child& child) {
  child.settled = true;
  if (AwaitRecord(child)) WakeAndWait(*child.record, OwnChildEnded, child.pid);
}

bool StarterGone() { return g_starter && (getppid() != g_starterPid || !g_starter->Alive()); }

}  // namespace

void JoinLockstep() {
  if (!DisplayIsHeadless() || !OwnScreenRecord()) return;
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  g_starterPid = getppid();
  g_starter = ScreenRecord::Open(g_starterPid);
  if (!g_starter) return;
  g_starter->header().childJoined.fetch_add(1);
  WakeWord(g_starter->header().childJoined);
  // The program takes its first step once the starter lets it: at the
  // starter's first wake, its release of its children or its end.
  ScreenRecordHeader& own = OwnScreenRecord()->header();
  while (own.wake.load() == 0 && !g_starter->header().released && !StarterGone())
    WaitOnWord(own.wake, 0, kStarterCheckMs);
}

void LeaveLockstep() {
  ScreenRecord* own = OwnScreenRecord();
  if (!own) return;
  own->header().released = 1;
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  for (Child& child : g_children) {
    // A child that has not made its record yet finds the release as it joins.
    if (!child.record) child.record = ScreenRecord::Open(child.pid);
    if (child.record) PokeScreenRecord(*child.record);
  }
}

bool LockstepWatched() {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  return g_starter || !g_children.empty();
}

int64_t LockstepLimitMs() {
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  if (!g_starter || g_starter->header().released || StarterGone()) return INT64_MAX;
  return g_starter->header().clockMs.load();
}

void LockstepReached(int64_t nowMs) {
  ScreenRecord* own = OwnScreenRecord();
  if (!own) return;
  own->header().clockMs = nowMs;
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  if (g_children.empty()) return;
  PublishScreenChanges();
  for (Child& child : g_children) Settle(child);
  std::erase_if(g_children, [](const Child& child) { return ChildEnded(child.pid); });
}

bool LockstepIdle(int64_t nowMs, bool stopForInput) {
  ScreenRecord* own = OwnScreenRecord();
  if (!own) return true;
  PublishScreenChanges();
  ScreenRecordHeader& h = own->header();
  for (;;) {
    uint32_t wake = h.wake.load();
    if (LockstepLimitMs() > nowMs) return true;
    if (stopForInput && ScreenInputPending()) return false;
    h.idleSeq = wake;
    WakeWord(h.idleSeq);
    WaitOnWord(h.wake, wake, kStarterCheckMs);
  }
}

void LockstepChildStarted(pid_t pid) {
  if (!DisplayIsHeadless() || !OwnScreenRecord()) return;
  OwnScreenRecord()->header().clockMs = ProgramNowMs();
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  g_children.push_back(Child{pid, nullptr});
}

void LockstepSettleStarted() {
  if (!DisplayIsHeadless() || !OwnScreenRecord()) return;
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  if (std::none_of(g_children.begin(), g_children.end(), [](const Child& child) { return !child.settled; })) return;
  // Their first step shows them over this program's windows as they are now.
  PublishScreenChanges();
  for (Child& child : g_children)
    if (!child.settled) Settle(child);
  std::erase_if(g_children, [](const Child& child) { return ChildEnded(child.pid); });
}

void LockstepSettle(ScreenRecord& record) {
  if (!DisplayIsHeadless()) return;
  std::lock_guard<std::recursive_mutex> lock(g_lock);
  // Only programs below this one in the chain of starters keep time under it.
  for (pid_t pid = record.pid(); pid != getpid();) {
    ScreenRecord* link = ScreenRecordOf(pid);
    if (!link || link->header().parentPid == pid) return;
    pid = link->header().parentPid;
    if (pid <= 1) return;
  }
  WakeAndWait(record, RecordEnded, record.pid(), kSettleBoundMs);
}

}  // namespace platform
