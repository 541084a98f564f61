// The mode sections of the state command, read from the settings store as
// the Today item keeps it: the active mode, a pending temporary switch, and
// the next wake-up that the scheduler registered.
#include "mode_state_sections.h"

#include <cstdio>
#include <string>

#include "shell/timed_starts.h"
#include "store/mode_keys.h"
#include "store/root_values.h"
#include "store/temporary_switch.h"
#include "text/utf.h"

namespace {

// `N "NAME"`, the name as the store holds it.
std::string ModeText(DWORD mode) {
  WCHAR name[MODE_NAME_WIDTH];
  ReadModeName(mode, name);
  return std::to_string(mode) + " \"" + platform::Utf16ToUtf8(name) + "\"";
}

}  // namespace

void PrintActiveMode() {
  DWORD mode = 0;
  bool stored = ReadRootDword(DEFAULT_MODE_VALUE, &mode);
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
