// The message loop's seams for the families above it: the display back end
// (waiting for host input in real time), the shared screen (input sent by
// other programs), the stand-in user (the automation script), the shell
// (switching the phone off), and the end of a program.
#pragma once

#include <cstdint>
#include <functional>
#include <thread>

namespace platform {

// A display back end that takes host input installs a waiter: called when
// the loop has nothing to do, it waits for host events for at most
// `timeoutMs` (-1: no limit) and returns early when `waker` has been called
// (from any thread). Without one the loop sleeps on its queue.
void SetHostWaiter(std::function<void(int64_t timeoutMs)> waiter, std::function<void()> waker);
// The shared screen takes the input that other programs sent this one;
// the loop calls it whenever it looks for messages.
void SetScreenInputTaker(std::function<void()> take);

// A stand-in for the phone's user, which acts whenever the loop has nothing
// to do: the automation script plugs in here (automation/automation.h).
struct StandInUser {
  std::function<bool()> pending;       // actions are left
  std::function<int64_t()> readyAt;    // program time from which the next may come
  std::function<void()> actNext;       // carries out the next action
};
void SetStandInUser(StandInUser user);

// The phone's shell asks for this once the program plays the Today screen:
// headless, the phone is then switched off when the stand-in user is done,
// although the shell's own timers never run out.
void SwitchOffWhenUserDone();

// Wakes the loop of a thread that waits (a message was posted, a timer set).
void WakeMessageLoop(std::thread::id thread);
// Ends the program: the program-exit work runs, then the process exits.
[[noreturn]] void EndProgram(int status);

}  // namespace platform
