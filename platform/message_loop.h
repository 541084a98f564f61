// The message loop's links to the rest of the platform: the display back end
// (waiting for host input in real time) and the end of a program.
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
// Wakes the loop of a thread that waits (a message was posted, a timer set).
void WakeMessageLoop(std::thread::id thread);
// Ends the program: the program-exit work runs, then the process exits.
[[noreturn]] void EndProgram(int status);

}  // namespace platform
