// Processes: the programs installed on the device, CreateProcessW, and the
// starting of built binaries with the device's environment.
#include "processes.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <windows.h>

#include "../device/call_failure.h"
#include "../device/device.h"
#include "../device/installed_product.h"
#include "../files/files.h"
#include "../text/utf.h"
#include "clock.h"
#include "display_choice.h"
#include "journal.h"
#include "kernel_objects.h"
#include "program.h"

extern char** environ;

namespace fs = std::filesystem;

namespace platform {

namespace {

constexpr std::string_view kProgramMarker = "SELVANE-PROGRAM ";
// An installed program's file is one short line; a bigger file is none.
constexpr size_t kInstalledFileLimit = 4096;

// A started program's process (or thread) handle: signalled once the
// program has ended. It looks without reaping, so that the waiting for
// children at the program's end still finds them.
class ProcessObject : public KernelObject {
 public:
  explicit ProcessObject(pid_t pid) : pid_(pid) {}
  bool Waitable() const override { return true; }
  bool StartedProgram() const override { return true; }
  bool Signalled() const override {
    siginfo_t info = {};
    if (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return true;  // reaped
    return info.si_pid == pid_;
  }

 private:
  pid_t pid_;
};

std::mutex g_processMutex;
std::vector<pid_t> g_children;
bool g_waitRegistered = false;
ChildStartHooks g_hooks;

ChildStartHooks Hooks() {
  std::lock_guard<std::mutex> lock(g_processMutex);
  return g_hooks;
}

bool EndsWithExe(std::string_view name) {
  if (name.size() < 4) return false;
  std::string tail(name.substr(name.size() - 4));
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".exe";
}

// A device is data that may come from anyone: an installed file may only
// name one of the phone's own programs, never another binary of the
// program folder (the device tool, the benchmark, a host command).
bool IsPhoneProgram(std::string_view name) {
  for (size_t i = 0; i < kInstalledProduct.programCount; ++i)
    if (name == kInstalledProduct.programs[i]) return true;
  return name == kInstalledProduct.todayScreen;
}

// Forgets children that have ended, so none stays a zombie.
void ReapEndedChildrenLocked() {
  for (auto it = g_children.begin(); it != g_children.end();) {
    int status;
    if (waitpid(*it, &status, WNOHANG) != 0)
      it = g_children.erase(it);
    else
      ++it;
  }
}

// Headless runs are meant to be repeatable: a program that started others
// ends only after them, so that what they did is on the device when it ends.
void WaitForChildren() {
  std::vector<pid_t> children;
  {
    std::lock_guard<std::mutex> lock(g_processMutex);
    children.swap(g_children);
  }
  for (pid_t pid : children) WaitForProgram(pid);
}

void RememberChild(pid_t pid) {
  {
    std::lock_guard<std::mutex> lock(g_processMutex);
    ReapEndedChildrenLocked();
    if (!DisplayIsHeadless()) return;
    g_children.push_back(pid);
    if (!g_waitRegistered) {
      g_waitRegistered = true;
      AtProgramExit(WaitForChildren);
    }
  }
  if (ChildStartHooks hooks = Hooks(); hooks.started) hooks.started(pid);
}

HANDLE NewProcessHandle(pid_t pid) { return AddHandle(std::make_shared<ProcessObject>(pid)); }

// Blocking waits on a process handle need a signal when the program ends.
void WatchForEnd(pid_t pid) {
  std::thread([pid] {
    siginfo_t info = {};
    while (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
    }
    { std::lock_guard<std::mutex> lock(SignalMutex()); }
    SignalChanged();
  }).detach();
}

// Splits "PROGRAM REST" (PROGRAM possibly in double quotes) for a
// CreateProcessW call without an image name.
void SplitCommandLine(std::u16string_view line, std::u16string* program, std::u16string* rest) {
  size_t start = 0;
  while (start < line.size() && line[start] == u' ') ++start;
  size_t end;
  if (start < line.size() && line[start] == u'"') {
    end = line.find(u'"', start + 1);
    if (end == std::u16string_view::npos) end = line.size();
    *program = line.substr(start + 1, end - start - 1);
    if (end < line.size()) ++end;
  } else {
    end = line.find(u' ', start);
    if (end == std::u16string_view::npos) end = line.size();
    *program = line.substr(start, end - start);
  }
  while (end < line.size() && line[end] == u' ') ++end;
  *rest = line.substr(end);
}

}  // namespace

void InstallPrograms() {
  for (size_t i = 0; i < kInstalledProduct.programCount; ++i) {
    std::string name = kInstalledProduct.programs[i];
    std::u16string path = std::u16string(kInstalledProduct.installFolder) + u"\\" + Utf8ToUtf16(name) + u".exe";
    WriteDeviceFile(path, std::string(kProgramMarker) + name + "\n");
  }
}

fs::path ProgramBinaryFolder() {
  const char* bin = std::getenv("SELVANE_BIN");
  if (bin && *bin) return fs::absolute(bin);
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::current_path() : self.parent_path();
}

std::optional<fs::path> InstalledProgramBinary(std::u16string_view devicePath) {
  std::string content;
  if (!ReadDeviceFile(devicePath, kInstalledFileLimit, &content) &&
      (EndsWithExe(Utf16ToUtf8(devicePath)) ||
       !ReadDeviceFile(std::u16string(devicePath) + u".exe", kInstalledFileLimit, &content)))
    return std::nullopt;
  std::string line = content.substr(0, content.find('\n'));
  if (line.compare(0, kProgramMarker.size(), kProgramMarker) != 0) return std::nullopt;
  std::string name = line.substr(kProgramMarker.size());
  if (!IsPhoneProgram(name)) return std::nullopt;
  fs::path binary = ProgramBinaryFolder() / name;
  if (access(binary.c_str(), X_OK) != 0) return std::nullopt;
  return binary;
}

std::u16string InstalledProgramPath(const std::string& program) {
  if (!program.empty() && (program[0] == '\\' || program[0] == '/')) return Utf8ToUtf16(program);
  std::u16string path = std::u16string(kInstalledProduct.installFolder) + u"\\" + Utf8ToUtf16(program);
  if (!EndsWithExe(program)) path += u".exe";
  return path;
}

fs::path TodayScreenBinary() { return ProgramBinaryFolder() / kInstalledProduct.todayScreen; }

pid_t StartProgram(const fs::path& binary, const std::u16string& commandLine, bool keepInput, bool ownGroup) {
  std::vector<std::string> variables;
  for (char** entry = environ; entry && *entry; ++entry) {
    std::string_view variable(*entry);
    if (variable.starts_with("SELVANE_DEVICE=") || variable.starts_with("SELVANE_BIN=")) continue;
    if (!keepInput && variable.starts_with("SELVANE_INPUT=")) continue;
    if (variable.starts_with(std::string(kStartTimeVariable) + "=")) continue;
    variables.emplace_back(variable);
  }
  variables.push_back("SELVANE_DEVICE=" + fs::absolute(DeviceFolder()).string());
  variables.push_back("SELVANE_BIN=" + ProgramBinaryFolder().string());
  if (auto startMs = ChildStartTimeMs())
    variables.push_back(std::string(kStartTimeVariable) + "=" + std::to_string(*startMs));
  std::vector<char*> envp;
  for (auto& v : variables) envp.push_back(v.data());
  // The child's screen shows this program's beneath it as it is now.
  if (ChildStartHooks hooks = Hooks(); hooks.beforeStart) hooks.beforeStart();
  envp.push_back(nullptr);

  std::string path = binary.string();
  std::string argument = Utf16ToUtf8(commandLine);
  std::vector<char*> argv{path.data()};
  if (!argument.empty()) argv.push_back(argument.data());
  argv.push_back(nullptr);

  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  if (ownGroup) {
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGCHLD}) sigaddset(&defaults, signal);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  }
  pid_t pid = -1;
  int failed = posix_spawn(&pid, path.c_str(), nullptr, &attributes, argv.data(), envp.data());
  posix_spawnattr_destroy(&attributes);
  return failed ? -1 : pid;
}

int WaitForProgram(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

pid_t StartInstalledProgram(std::u16string_view devicePath, const std::u16string& commandLine) {
  auto binary = InstalledProgramBinary(devicePath);
  if (!binary) return -1;
  pid_t pid = StartProgram(*binary, commandLine, false);
  if (pid >= 0) RememberChild(pid);
  return pid;
}

void SettleStartedPrograms() {
  if (ChildStartHooks hooks = Hooks(); hooks.settle) hooks.settle();
}

void SetChildStartHooks(ChildStartHooks hooks) {
  std::lock_guard<std::mutex> lock(g_processMutex);
  g_hooks = std::move(hooks);
}

}  // namespace platform

BOOL CreateProcessW(LPCWSTR imageName, LPWSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                    DWORD, LPVOID, LPWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION info) try {
  std::u16string path, line;
  if (imageName) {
    path = imageName;
    if (commandLine) line = commandLine;
  } else if (commandLine) {
    platform::SplitCommandLine(commandLine, &path, &line);
  }
  std::string entry = "CreateProcessW \"" + platform::Utf16ToUtf8(path) + "\" \"" + platform::Utf16ToUtf8(line) + "\"";

  auto binary = path.empty() ? std::nullopt : platform::InstalledProgramBinary(path);
  if (!binary) {
    platform::JournalAppend(entry + " failed");
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  // Journalled before the start, so the program's own lines come after it.
  platform::JournalAppend(entry);
  pid_t pid = platform::StartProgram(*binary, line, false);
  if (pid < 0) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  platform::RememberChild(pid);
  if (info) {
    platform::WatchForEnd(pid);
    info->hProcess = platform::NewProcessHandle(pid);
    info->hThread = platform::NewProcessHandle(pid);
    info->dwProcessId = static_cast<DWORD>(pid);
    info->dwThreadId = static_cast<DWORD>(pid);
  }
  return TRUE;
} catch (...) {
  return platform::FailedCall(FALSE);
}
