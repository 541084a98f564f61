// The mode sections of the state command, read from the settings store as
// the Today item keeps it: the active mode, a pending temporary switch, and
// the next wake-up that the scheduler registered.
#include "mode_state_sections.h"

#include <cstdio>
#include <string>

#include "timed_starts.h"
#include "timer/pending_switch.h"
#include "timer/timer_registry.h"
#include "wintext_utf.h"

namespace {

// `N "NAME"`, the name as the store holds it.
std::string ModeText(DWORD mode) {
  WCHAR name[MODE_NAME_SIZE];
  ReadModeName(mode, name);
  return std::to_string(mode) + " \"" + platform::Utf16ToUtf8(name) + "\"";
}

}  // namespace

void PrintActiveMode() {
  HKEY key;
  DWORD mode = 0;
  bool stored = false;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, STORE_ROOT_KEY, 0, 0, &key) == ERROR_SUCCESS) {
    stored = ReadDwordValue(key, DEFAULT_MODE_VALUE, &mode);
    RegCloseKey(key);
  }
  std::printf("active mode: %s\n", stored ? ModeText(mode).c_str() : "none");
}

void PrintTemporarySwitch() {
  PendingSwitch pending;
  FindPendingSwitch(&pending);
  if (!pending.Pending) {
    std::printf("temporary switch: none\n");
    return;
  }
  std::printf("temporary switch: back to %s at %02u:%02u\n", ModeText(pending.ModeBack).c_str(),
              static_cast<unsigned>(pending.StopHour), static_cast<unsigned>(pending.StopMinutes));
}

void PrintNextWakeUp() {
  auto starts = platform::TimedStarts();
  if (starts.empty()) {
    std::printf("next wake-up: none\n");
    return;
  }
  std::printf("next wake-up: %s \"%s\"\n", starts.front().time.c_str(), starts.front().path.c_str());
}
