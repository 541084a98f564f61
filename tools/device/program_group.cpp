// Programs that the device tool starts and that end with it: their process
// group, the signals that end the tool, and the ending of the group.
#include "tools/device/program_group.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/kernel/processes.h"
#include "tools/device/commands.h"

namespace {

// How long the programs have to end on SIGTERM before SIGKILL.
constexpr auto kEndingBound = std::chrono::seconds(5);

// Reaps whatever children have ended; false once none is left.
bool ReapEnded() {
  for (;;) {
    pid_t reaped = waitpid(-1, nullptr, WNOHANG);
    if (reaped > 0) continue;
    return !(reaped < 0 && errno == ECHILD);
  }
}

// Ends a started program's process group, and the programs it started
// whose starter ended (this tool is their subreaper).
void EndGroup(pid_t group) {
  killpg(group, SIGTERM);
  auto deadline = std::chrono::steady_clock::now() + kEndingBound;
  while (ReapEnded()) {
    if (std::chrono::steady_clock::now() > deadline) {
      killpg(group, SIGKILL);
      while (waitpid(-1, nullptr, 0) > 0 || errno == EINTR) {
      }
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace

int RunProgramGroup(const std::filesystem::path& binary, const std::u16string& commandLine, bool keepInput,
                    GroupEnd end) {
  sigset_t awaited;
  sigemptyset(&awaited);
  for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGCHLD}) sigaddset(&awaited, signal);
  sigprocmask(SIG_BLOCK, &awaited, nullptr);
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  pid_t leader = platform::StartProgram(binary, commandLine, keepInput, true);
  if (leader < 0) throw CommandError("cannot start " + binary.string());
  int status = -1;
  bool signalled = false;
  while (status < 0) {
    int signal = sigwaitinfo(&awaited, nullptr);
    if (signal == SIGCHLD) {
      int ended;
      pid_t reaped;
      while ((reaped = waitpid(-1, &ended, WNOHANG)) > 0)
        if (reaped == leader) status = WIFEXITED(ended) ? WEXITSTATUS(ended) : 128 + WTERMSIG(ended);
    } else if (signal > 0) {
      status = 128 + signal;
      signalled = true;
    }
  }
  if (signalled || end == GroupEnd::WithItsLeader) EndGroup(leader);
  return status;
}
