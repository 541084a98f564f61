// Headless, the programs on the phone keep one time between them: a program
// started by another never runs ahead of its starter's virtual time, and the
// starter moves its time on only once its children have done everything up
// to it. So one program runs at a time, and a run with several programs
// always turns out the same.
#pragma once

#include <sys/types.h>

#include <cstdint>

namespace platform {

class ScreenRecord;

// Finds the starter's record (the program entry, headless).
void JoinLockstep();
// At the program's end: its children run on by themselves.
void LeaveLockstep();
// True when another program keeps time with this one (a starter or a child).
bool LockstepWatched();

// The phone time (ms) up to which this program may run: its starter's time,
// or no limit.
int64_t LockstepLimitMs();
// This program has reached `nowMs`: its children catch up before it goes on.
void LockstepReached(int64_t nowMs);
// Waits, idle at `nowMs`, until the starter's time moves on (true), or
// input from another program arrives when `stopForInput` (false).
bool LockstepIdle(int64_t nowMs, bool stopForInput);
// A child was started: it makes ready to run while this program goes on at
// the same instant, and takes its first step once this program lets it:
// when it moves its time on, acts for its user, waits on a started program
// or ends. So what a program does at one instant comes before what its
// children do then, whichever starts faster.
void LockstepChildStarted(pid_t pid);
// Lets the children that wait for their first step run until they first
// wait (or end).
void LockstepSettleStarted();
// Input was sent to a program: when it keeps time under this one, it has
// taken it in before this program goes on.
void LockstepSettle(ScreenRecord& record);

}  // namespace platform
