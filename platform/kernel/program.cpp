// Program identity and exit work, and the thread's last error.
#include "program.h"

#include <mutex>
#include <vector>

#include <windows.h>

namespace platform {

namespace {
std::string g_programName = "selvane";
std::mutex g_exitMutex;
std::vector<std::function<void()>> g_exitWork;
}  // namespace

const std::string& ProgramName() { return g_programName; }

void SetProgramName(const std::string& name) {
  std::string base = name.substr(name.find_last_of("/\\") + 1);
  if (base.size() > 4 && base.compare(base.size() - 4, 4, ".exe") == 0) base.resize(base.size() - 4);
  g_programName = base;
}

void AtProgramExit(std::function<void()> work) {
  std::lock_guard<std::mutex> lock(g_exitMutex);
  g_exitWork.push_back(std::move(work));
}

void RunProgramExit() {
  std::vector<std::function<void()>> work;
  {
    std::lock_guard<std::mutex> lock(g_exitMutex);
    work.swap(g_exitWork);
  }
  for (auto& step : work) step();
}

}  // namespace platform

namespace {
thread_local DWORD t_lastError = ERROR_SUCCESS;
}

DWORD GetLastError() { return t_lastError; }
void SetLastError(DWORD error) { t_lastError = error; }
